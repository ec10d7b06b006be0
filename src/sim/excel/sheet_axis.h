#pragma once
// One axis of a worksheet (its columns or its rows): the size of each line in points, with
// most lines at the standard size, and the positions that follow from the sizes.
#include <map>

namespace harumado::sim {

class SheetAxis {
 public:
  SheetAxis(int count, double standard) : count_(count), standard_(standard) {}

  int count() const { return count_; }
  double standard() const { return standard_; }
  // Size of line i (1-based), in points.
  double Size(int i) const;
  void SetSize(int i, double size);
  // Distance from the start of line 1 to the start of line i.
  double Start(int i) const;

  // A point on the axis as the line it falls in and the fraction of that line before it.
  struct Place {
    int index = 1;
    double fraction = 0;
  };
  Place Locate(double position) const;
  double Position(const Place& place) const;

 private:
  int count_;
  double standard_;
  std::map<int, double> sizes_;  // lines whose size is not the standard one
};

}  // namespace harumado::sim
