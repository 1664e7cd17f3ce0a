#pragma once

#include <string>
#include <vector>

#include "tools/init/chart_request.h"

namespace vitalchart {
namespace cli {

// A row under the grid and where it begins.
struct RowPlace {
    ChartRow row;
    int y;
    int nHeight;
};

// Where every part of a new chart goes, in reference units (96 per inch)
// from the chart's top-left corner. Every place where lines meet is a
// multiple of 4 units: those convert to whole device units at 96 and at 600
// units per inch (4 units are 25 at 600), so single lines and families of
// lines, whose spacing the renderer converts once and adds up, end on the
// same device unit at both resolutions.
struct ChartPlan {
    int nPageWidth;  // the paper, rounded to reference units
    int nPageHeight;

    // Across: the frame, the label column with the pulse scale in its left
    // half and the temperature scale in its right half, then the grid.
    int xLeft;
    int xScaleSplit;
    int xGrid;
    int xRight;
    int nColumn;   // one time point
    int nColumns;  // days times time points
    int nDay;      // one day's columns
    int nHalfDay;

    // Down: the hospital's name, the title, two lines of the patient's
    // header, then the frame: four header rows, the grid, the rows under it
    // and the page number under the frame.
    int yHospital;
    int yTitle;
    int yPatient;  // the first of two lines
    int yFrameTop;
    int yTimes;  // the row of time points, the last header row
    int yGrid;   // the top of the grid: the band of scale headings above the highest degree
    int yGridBottom;
    int yFrameBottom;
    int yPage;
    int nTextRow;  // height of a header row and of a row under the grid
    int nGridRow;  // one fifth of a degree
    int nDegree;   // five grid rows
    std::vector<RowPlace> rows;

    // The scales: the grid's degrees run from nTopDegree down to
    // nBottomDegree; the pulse scale (when there is one) puts nPulseTop on the
    // top degree and nBeatsPerDegree more for each degree up.
    int nTopDegree;
    int nBottomDegree;
    bool bPulseScale;
    int nPulseTop;
    int nBeatsPerDegree;

    // The y of a temperature on the grid, or of a pulse rate.
    int DegreeY(int nValue) const { return yGrid + (nTopDegree + 1 - nValue) * nDegree; }
};

// Lays the request out on its paper: the columns and the grid rows as wide
// and tall as the paper allows in steps of 4 units, the frame centred. False
// with rError when the paper cannot hold them (a column or a grid row would
// be narrower than 8 units, 2.1 mm) or the pulse and heart-rate scales differ.
bool PlanChart(const ChartRequest& request, ChartPlan& rPlan, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
