// ChartScale.h - the arithmetic of the scrolling line chart: how wide the Y
// labels are and where a value lands in the plot. No window code here.
#pragma once

// The number of integer digits the wider of the two range labels needs
// beyond the first: |trunc(log10 |bound|)|, 0 for a zero bound.
int ChartLabelDigits(float minY, float maxY);

// Left edge of the plot for the range labels, from the client's left edge.
int ChartPlotLeft(int clientLeft, float minY, float maxY, int decimals);

// Vertical position of a value between the top and bottom lines of the plot.
// A zero range (min equal to max) or a value that is not a number puts the
// line in the middle of the plot; values are otherwise expected in range.
int ChartValueToY(float value, float minValue, float maxValue, int top, int bottom);
