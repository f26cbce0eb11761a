// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page of steps as one standalone LaTeX file, for pdflatex: the same
// sections as the HTML page, with only the packages of a basic TeX Live
// (inputenc, fontenc, lmodern when present, geometry, array, booktabs,
// longtable, amsmath, graphicx, pdflscape). Wide tableaux go on landscape
// pages and are scaled down if they still do not fit; tall ones break across
// pages.
#include <QString>
#include <string>

#include "StepsPage.h"

namespace optimara::files {

// The whole document in UTF-8.
std::string StepsPageLatex(const StepsPage& page);

// Writes the document through the safe whole-file writer; throws FileError
// as WriteWholeFile does.
void WriteStepsLatex(const QString& fileName, const StepsPage& page);

} // namespace optimara::files
