#ifndef DIALOGCHARTPROBE_H
#define DIALOGCHARTPROBE_H

#include "DialogChart.h"

#include <QCheckBox>

// Test-side access to the chart window's own lists.
class DialogChartProbe
{
public:
    // The box of a series bit, as the chart window pairs them.
    static QCheckBox *seriesBox(const DialogChart &dialog, int bit) { return dialog.series().at(size_t(bit)).box; }
};

#endif // DIALOGCHARTPROBE_H
