// The live reading drawn on the meter face picture.
#include "meterapp/decibar_view.h"

#include "meterproto/meter_face.h"

namespace {

const COLORREF kFaceTextColour = RGB(0, 0, 0);

void MakeFaceFont(CFont& font, meterproto::FaceFont use)
{
    const meterproto::SFaceFontStyle style = meterproto::FaceFontStyleOf(use);
    font.CreateFont(style.height, style.width, 0, 0, style.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, meterproto::kFaceFontName);
}

} // namespace

CBitmap* CDecibarView::FaceBitmap(UINT id)
{
    if (id == meterproto::kPointBitmapId)
        return &m_bmpPoint;
    if (id == meterproto::kBarSegmentBitmapId)
        return &m_bmpBarSegment;
    if (id >= meterproto::kFirstDigitBitmapId && id < meterproto::kFirstDigitBitmapId + 10)
        return &m_bmpDigits[id - meterproto::kFirstDigitBitmapId];
    return nullptr;
}

void CDecibarView::DrawMeterFace(CDC* dc)
{
    const std::vector<meterproto::SFaceOp> ops = meterproto::MeterFaceOps(m_reading, m_dDigitsValue, m_dBarValue);

    // Fonts outlive their selection: RestoreDC below selects the old one back.
    CFont fonts[4];
    const int saved = dc->SaveDC();
    dc->SelectObject(&m_bmpFace);
    dc->SetTextColor(kFaceTextColour);
    dc->SetBkMode(TRANSPARENT);
    CDC source;
    source.CreateCompatibleDC(dc);

    for (const meterproto::SFaceOp& op : ops) {
        if (op.kind == meterproto::SFaceOp::Kind::Bitmap) {
            CBitmap* picture = FaceBitmap(op.bitmapId);
            if (!picture)
                continue;
            const CSize size = picture->GetBitmapDimension();
            CBitmap* previous = source.SelectObject(picture);
            dc->BitBlt(op.x, op.y, size.cx, size.cy, &source, 0, 0, SRCCOPY);
            source.SelectObject(previous);
        } else {
            CFont& font = fonts[static_cast<int>(op.font)];
            if (font.IsNull())
                MakeFaceFont(font, op.font);
            dc->SelectObject(&font);
            dc->TextOut(op.x, op.y, op.text);
        }
    }

    source.DeleteDC();
    dc->RestoreDC(saved);
}
