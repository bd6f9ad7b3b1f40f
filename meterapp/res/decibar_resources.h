// Decibar's resource tables: strings, menu, accelerators, tool bar, the form
// of the main view and the About box, and its pictures.
#pragma once

// Registers every table and the picture source with the framework. Call once
// before the framework loads a resource; further calls change nothing.
void RegisterDecibarResources();

// Texts of the program's version block, also shown in the About box.
extern const wchar_t kDecibarCompanyName[];
extern const wchar_t kDecibarProductName[];
extern const wchar_t kDecibarLegalNotice[];
extern const wchar_t kDecibarVersion[];
