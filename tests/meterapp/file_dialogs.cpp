#include "file_dialogs.h"

#include <fstream>
#include <sstream>

void AnswerFileDialogs(DecibarInstance& decibar, std::function<std::wstring(const CFileDialog& dialog)> choosePath)
{
    AfxTestSetModalAnswerer([&decibar, choosePath](const AfxModalRequest& request) {
        decibar.modal.requests.push_back(request);
        if (request.kind == AfxModalRequest::MessageBox)
            return decibar.modal.messageBoxAnswer;
        if (request.kind != AfxModalRequest::FileDialog)
            return static_cast<int>(IDOK);
        auto* dialog = static_cast<CFileDialog*>(request.dialog);
        const std::wstring path = choosePath(*dialog);
        if (path.empty())
            return static_cast<int>(IDCANCEL);
        AfxTestSetFileDialogPath(dialog, path.c_str());
        return static_cast<int>(IDOK);
    });
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
