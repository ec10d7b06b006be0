#include "sim/excel/sheet_axis.h"

namespace harumado::sim {

double SheetAxis::Size(int i) const {
  auto it = sizes_.find(i);
  return it == sizes_.end() ? standard_ : it->second;
}

void SheetAxis::SetSize(int i, double size) {
  if (size == standard_) {
    sizes_.erase(i);
  } else {
    sizes_[i] = size;
  }
}

// Lines before i at the standard size, corrected by every line before i that differs.
double SheetAxis::Start(int i) const {
  double start = static_cast<double>(i - 1) * standard_;
  for (auto it = sizes_.begin(); it != sizes_.end() && it->first < i; ++it) {
    start += it->second - standard_;
  }
  return start;
}

// Walks the runs of standard lines between the lines of other sizes. A position on the border
// of two lines belongs to the later one; lines of size 0 hold no position. Positions before the
// first line or after the last are clamped to the axis.
SheetAxis::Place SheetAxis::Locate(double position) const {
  if (position <= 0) return Place{1, 0};
  int index = 1;     // first line of the current run
  double start = 0;  // where that line starts
  // The place within a run of standard lines index .. end - 1, if the position lies in it.
  auto within_run = [&](int end, Place& place) {
    const double span = static_cast<double>(end - index) * standard_;
    if (standard_ <= 0 || position >= start + span) {
      start += span;
      index = end;
      return false;
    }
    const double offset = position - start;
    int k = static_cast<int>(offset / standard_);
    if (k > end - index - 1) k = end - index - 1;
    place = Place{index + k, (offset - k * standard_) / standard_};
    return true;
  };
  Place place;
  for (const auto& [line, size] : sizes_) {
    if (within_run(line, place)) return place;
    if (size > 0 && position < start + size) return Place{line, (position - start) / size};
    start += size;
    index = line + 1;
  }
  if (within_run(count_ + 1, place)) return place;
  return Place{count_, 1};
}

double SheetAxis::Position(const Place& place) const {
  return Start(place.index) + place.fraction * Size(place.index);
}

}  // namespace harumado::sim
