// The file dialogs and messages around the data file and the export, shared
// by the main view and the logged-data window. User-interface thread only.
#pragma once

#include "meterdata/records.h"
#include "meterfiles/export_table.h"

#include <afx/afxwin.h>

// How a save command ended.
enum class ESaveOutcome {
    NothingToSave,  // no records: no dialog was shown
    Cancelled,      // the user cancelled the dialog
    Written,        // the file holds the records
    Failed,         // nothing was written; the user has been told why
};

// Asks for a name ("Data File(*.txt)", proposing "<now>.txt") and writes the
// records (CObjData*) there as a data file. Problems are told in a message
// box owned by owner; the file that was there survives them.
ESaveOutcome SaveDataFileAs(CWnd* owner, const CObArray& records);

// The same for the spreadsheet export ("Data File(*.xls)", "<now>.xls").
ESaveOutcome ExportTableAs(CWnd* owner, const CObArray& records, const SStatInfo& stat,
    meterfiles::EExportCopy copy);

// Asks for a data file and reads it, showing the wait cursor while it reads.
// True when it was read: `read` (empty on entry) then owns its records. False
// when the dialog was cancelled or the file was refused ("Data Format is
// wrong!" / "ERROR", or why it could not be read, owned by owner); `read`
// stays empty.
bool ReadDataFileChosen(CWnd* owner, CObArray& read);

// Empties g_pLogRecords and moves the records of `read` into it. shown, when
// given, is an array that refers to logged records: it is emptied first, so
// that it never refers to a deleted record.
void ReplaceLoggedRecords(CObArray& read, CObArray* shown);
