#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace vantora {

// What a chosen sweep shows after it: material left beyond what every candidate
// section would leave (mm³) and cutting time (min) against the number of sections, in the order chosen, the chosen count marked, and a
// line saying what the choice gives.
struct ChoiceCurve {
  std::vector<double> Left;
  std::vector<double> Minutes;
  int Chosen = 0;
  std::string Summary;
};

// The plot of a ChoiceCurve: material left in blue on the left scale, cutting time in
// orange on the right one, the chosen point a red dot on a red line, the summary below.
class ChoicePlot : public QWidget {
  Q_OBJECT

 public:
  ChoicePlot(ChoiceCurve curve, QWidget* parent);

  int Chosen() const { return curve_.Chosen; }
  // Where the plot puts the k-th point (from 1) of the material left.
  QPointF LeftPoint(int k) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRectF Area() const;
  QPointF At(int k, double value, double top) const;

  ChoiceCurve curve_;
  double leftTop_ = 1, minutesTop_ = 1;
};

}  // namespace vantora
