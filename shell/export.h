// Copying and exporting rows of the record's columns, in the program's units: the record window
// and the batch window share these.
#pragma once

#include <QString>
#include <vector>

#include "calc/record.h"

class QWidget;

// The rows as TSV with the captions, onto the clipboard.
void CopyRows(const std::vector<calc::RecordRow>& rows, const calc::Units& units);

// Asks for a file and writes the rows there: CSV (UTF-8 with a byte-order mark) or, for a name
// ending in .xlsx, a workbook with its stamp sheet. A name without either ending gets ".csv".
// A file that cannot be written is told with its name and cause. False when nothing was written.
bool ExportRows(QWidget* parent, const std::vector<calc::RecordRow>& rows, const calc::Units& units,
                const QString& suggestedName);

// Writes the rows to `path` as ExportRows does, without asking; false with the message.
bool WriteRows(const QString& path, const std::vector<calc::RecordRow>& rows,
               const calc::Units& units, QString& error);
