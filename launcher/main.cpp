#include "form1.h"

#include "forms/app.h"
#include "forms/application.h"

namespace {

class SetwellApp : public forms::Application {
public:
    SetwellApp() { SetAppDisplayName(Form1::kTitle); }

protected:
    std::unique_ptr<forms::Form> CreateStartupForm() override
    {
        return std::make_unique<Form1>(forms::App::Path());
    }
};

}  // namespace

wxIMPLEMENT_APP(SetwellApp);
