// Joint plots of a correspondence solution: rows and columns together in
// one printer plot for each pair of the first four axes, then axis 1
// against each further axis.
#pragma once

#include <string_view>

#include "base/layout.h"
#include "base/matrix.h"

namespace marvist {

// Gathers row and column points into one point list and plots it.
//   row_points  I x K coordinates of the rows (row i, axis k)
//   col_points  J x K coordinates of the columns
//   I, J, K     numbers of rows, columns and axes
//   listing     destination of the plots
// Row p is marked with the key character of p, column q with that of q.
// Returns false, having plotted nothing, when the point list cannot be
// obtained: the caller's memory error. A stop of the program by a plot
// (ProgramStop) passes through.
[[nodiscard]] bool DrawJointPlots(const Matrix<double>& row_points, const Matrix<double>& col_points, int I, int J,
                                  int K, RecordSink& listing);

// Writes the heading and the plot of every pair of axes for one point list.
//   P        nPoints x K coordinates (point p, axis k)
//   nPoints  number of points
//   K        number of axes
//   labels   one mark per point, used in the plots of the first four axes
//   listing  destination
// K = 1 writes only a notice that there is nothing to plot; K = 0 nothing.
// The first four axes share the range +-M, M the largest absolute
// coordinate over them; the plots of axis 1 against axes 5 onwards mark
// points by sequence and carry the ranges on from one plot to the next.
void PlotAxisPairs(const Matrix<double>& P, int nPoints, int K, std::string_view labels, RecordSink& listing);

}  // namespace marvist
