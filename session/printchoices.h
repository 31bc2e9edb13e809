#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include "render/printlayout.h"

// The print dialog's last choices, kept while the program runs and in section "system" of config.ini
// for the next start (written by SaveSettings, read by LoadSettings).
struct PrintChoices {
    QPageSize::PageSizeId nPaper = QPageSize::A4;
    QPageLayout::Orientation nOrientation = QPageLayout::Portrait;
    // The user chose the orientation in page setup; otherwise a layout picks its own.
    bool bOrientationChosen = false;
    QMarginsF marginsMm {10, 10, 10, 10};
    int nCopies = 1;
    PrintLayout nLayout = PrintLayout::FitToPage;
    // Print widths are typed in inches rather than millimetres.
    bool bInches = false;

    bool operator==(const PrintChoices&) const = default;
};

extern PrintChoices g_printChoices;

// Keys that are missing or hold nothing usable keep their defaults.
PrintChoices ReadPrintChoices(const QString& strIniPath);
// The defaults are written only over earlier choices.
void WritePrintChoices(const PrintChoices& choices, const QString& strIniPath);
