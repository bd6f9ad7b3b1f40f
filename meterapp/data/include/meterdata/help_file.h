// Where the help file lies: "KV415.chm" in the folder of the running program.
#pragma once

#include <afx/cstring.h>

// programPath: full path of the running program ("/opt/decibar/decibar").
// Gives the folder up to its last "/" followed by "/KV415.chm"; a folder
// text that already ends in "/" gets "KV415.chm" alone.
CString HelpFilePath(const CString& programPath);
