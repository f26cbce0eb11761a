// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page of steps on paper, as a PDF or through a printer: the blocks of
// the HTML page, each set by a Qt text document, kept whole on one sheet
// (only a block taller than a whole sheet breaks, where its text document
// breaks it, between lines and table rows), two narrow blocks side by side,
// "Página k de N" at the foot of every sheet. No widgets here.
#include <QByteArray>
#include <QString>

#include "StepsPage.h"

class QPagedPaintDevice;

namespace optimara::files {

// Paints the page of steps on the device, sheet after sheet, within the
// margins of its page layout; the number of sheets painted. The device must
// be open (a printer chosen, a PDF writer made) and have no painter.
int PaintStepsSheets(QPagedPaintDevice& device, const StepsPage& page);

// The page of steps as a PDF document on A4 with 10 mm margins.
QByteArray StepsPdf(const StepsPage& page);

// Writes StepsPdf through the safe whole-file writer; throws FileError as
// WriteWholeFile does.
void WriteStepsPdf(const QString& fileName, const StepsPage& page);

} // namespace optimara::files
