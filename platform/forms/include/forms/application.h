// The application object of a form program: shows message boxes as dialogs,
// creates and shows the start-up form, and ends when the last form is gone.
#pragma once

#include "forms/form.h"

#include <wx/app.h>

#include <memory>

namespace forms {

class Application : public wxApp {
public:
    // Installs the message-box handler, creates the start-up form and shows
    // it. An exception from CreateStartupForm is shown in a message box
    // captioned with the application's display name, and the program ends.
    bool OnInit() override;
    // Deletes the start-up form.
    int OnExit() override;

protected:
    virtual std::unique_ptr<Form> CreateStartupForm() = 0;

private:
    // Starts the toolkit without its GL probe unless the environment asks for GL.
    bool Initialize(int& argc, wxChar** argv) override;
    std::unique_ptr<Form> m_startupForm;
};

}  // namespace forms
