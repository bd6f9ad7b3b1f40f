// The live reading drawn on the meter's display, and the pictures the view
// paints at its top left.
#include "meterapp/decibar_view.h"

#include "meterdata/face_layout.h"
#include "resource.h"

namespace {

const COLORREF kFaceTextColour = RGB(0, 0, 0);
const COLORREF kDisplayColour
    = RGB(kDisplayWindowColour.red, kDisplayWindowColour.green, kDisplayWindowColour.blue);

void MakeFaceFont(CFont& font, FaceFont use)
{
    const SFaceFontStyle style = FaceFontStyleOf(use);
    font.CreateFont(style.height, style.width, 0, 0, style.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, kFaceFontName);
}

} // namespace

CBitmap* CDecibarView::FaceBitmap(UINT id)
{
    if (id == IDB_DECIMAL_POINT)
        return &m_bmpPoint;
    if (id == IDB_BAR_SEGMENT)
        return &m_bmpBarSegment;
    if (id >= IDB_DIGIT_0 && id < IDB_DIGIT_0 + 10)
        return &m_bmpDigits[id - IDB_DIGIT_0];
    return nullptr;
}

// The operations are picture positions; the display area's picture starts at
// the area's top left, and whatever would fall outside it is cut off there.
void CDecibarView::DrawMeterFace(CDC* dc)
{
    std::vector<SFaceOp> ops = MeterFaceOps(m_reading, m_dDigitsValue, m_dBarValue);

    // Fonts outlive their selection: RestoreDC below selects the old one back.
    CFont fonts[kFaceFontCount];
    const int saved = dc->SaveDC();
    dc->SetTextColor(kFaceTextColour);
    dc->SetBkMode(TRANSPARENT);
    CDC source;
    source.CreateCompatibleDC(dc);

    for (const SFaceOp& op : ops) {
        const int x = op.x - kDisplayArea.x;
        const int y = op.y - kDisplayArea.y;
        if (op.kind == SFaceOp::Kind::Bitmap) {
            CBitmap* picture = FaceBitmap(op.bitmapId);
            if (!picture)
                continue;
            const CSize size = picture->GetBitmapDimension();
            CBitmap* previous = source.SelectObject(picture);
            dc->BitBlt(x, y, size.cx, size.cy, &source, 0, 0, SRCCOPY);
            source.SelectObject(previous);
        } else {
            CFont& font = fonts[static_cast<int>(op.font)];
            if (font.IsNull())
                MakeFaceFont(font, op.font);
            dc->SelectObject(&font);
            dc->TextOut(x, y, op.text);
        }
    }

    source.DeleteDC();
    dc->RestoreDC(saved);
    m_liveDisplay.drawnOps = std::move(ops);
    ++m_liveDisplay.drawings;
}

// Weighing a redraw runs the drawing's value choice, which a second run with
// the same reading leaves as it is.
bool CDecibarView::FaceOpsChanged()
{
    return m_liveDisplay.drawnOps.empty()
        || MeterFaceOps(m_reading, m_dDigitsValue, m_dBarValue) != m_liveDisplay.drawnOps;
}

// Every drawing starts from the instrument picture itself, so nothing an
// earlier reading drew can remain.
bool CDecibarView::RenderLiveDisplay(CDC* reference)
{
    CBitmap& picture = m_liveDisplay.picture;
    if (picture.IsNull() && !picture.CreateCompatibleBitmap(reference, kDisplayArea.width, kDisplayArea.height))
        return false;
    CDC face;
    CDC display;
    if (!face.CreateCompatibleDC(reference) || !display.CreateCompatibleDC(reference))
        return false;
    CBitmap* oldFace = face.SelectObject(&m_bmpFace);
    CBitmap* oldDisplay = display.SelectObject(&picture);
    display.BitBlt(0, 0, kDisplayArea.width, kDisplayArea.height, &face, kDisplayArea.x, kDisplayArea.y, SRCCOPY);
    display.FillSolidRect(kDisplayWindow.x - kDisplayArea.x, kDisplayWindow.y - kDisplayArea.y, kDisplayWindow.width,
        kDisplayWindow.height, kDisplayColour);
    DrawMeterFace(&display);
    display.SelectObject(oldDisplay);
    face.SelectObject(oldFace);
    return true;
}

// A reading that draws as it did before shows nothing new: only a picture
// that was covered needs painting then.
void CDecibarView::PaintLiveFace(CDC* pDC, bool wholePicture)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    const bool changed = FaceOpsChanged() || m_liveDisplay.picture.IsNull();
    if (!changed && !wholePicture)
        return;
    if (changed && !RenderLiveDisplay(pDC))
        return;
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC))
        return;
    CBitmap* old = nullptr;
    if (wholePicture) {
        old = memory.SelectObject(&m_bmpFace);
        const CSize size = m_bmpFace.GetBitmapDimension();
        pDC->BitBlt(0, 0, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(&m_liveDisplay.picture);
    } else {
        old = memory.SelectObject(&m_liveDisplay.picture);
    }
    pDC->BitBlt(kDisplayArea.x, kDisplayArea.y, kDisplayArea.width, kDisplayArea.height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    memory.DeleteDC();
    m_liveDisplay.faceShown = true;
}

void CDecibarView::PaintIdle(CDC* pDC)
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC))
        return;
    CBitmap* old = memory.SelectObject(&m_bmpIdle);
    const CSize size = m_bmpIdle.GetBitmapDimension();
    pDC->BitBlt(0, 0, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    memory.DeleteDC();
    m_liveDisplay.faceShown = false;
}

void CDecibarView::OnDraw(CDC* pDC)
{
    m_graph.DrawGraph(g_pRealTimeRecords);
    if (m_bConnected)
        PaintLiveFace(pDC, true);
    else
        PaintIdle(pDC);
}

// The receive callback's redraw, on this thread: the face follows every
// frame and is never drawn by two threads at once. Cleared before the reading
// is read, so a frame decoded from here on asks for a redraw of its own.
LRESULT CDecibarView::OnMeterFaceRedraw(WPARAM, LPARAM)
{
    m_bFacePending = false;
    if (!m_bConnected)
        return 1;
    bool shown = false;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        shown = m_liveDisplay.faceShown;
        ++m_liveDisplay.redrawsAsked;
    }
    CClientDC dc(this);
    PaintLiveFace(&dc, !shown);
    return 1;
}
