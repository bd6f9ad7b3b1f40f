// The answerer that modal boxes ask before they are shown, when one is installed.
#include "internal.h"

namespace {

AfxModalAnswerer& Answerer()
{
    static auto* answerer = new AfxModalAnswerer;
    return *answerer;
}

}  // namespace

namespace afxwin {

void SetModalAnswerer(AfxModalAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

bool HasModalAnswerer()
{
    return static_cast<bool>(Answerer());
}

bool AnswerModal(const AfxModalRequest& request, int* result)
{
    // A copy: the answerer may install another one while it answers.
    AfxModalAnswerer answerer = Answerer();
    if (!answerer)
        return false;
    *result = answerer(request);
    return true;
}

}  // namespace afxwin
