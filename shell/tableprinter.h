// A table laid out for paper: on every page the title, the header lines (formulation with its
// constants, units, date) and the column captions with their units; numbers to the right; "第 n
// 页，共 m 页" at the foot. Portrait when the columns fit, else landscape, else a smaller type.
#pragma once

#include <QString>
#include <QStringList>

#include "calc/table.h"

struct PrintedTable {
  QString title;
  QStringList header;
  calc::Table table;
};

// Writes the table as a PDF (A4). Returns its number of pages, or 0 with the message.
int PrintTableToPdf(const PrintedTable& document, const QString& path, QString& error);
