#include "core/model/section_raster.h"

#include <algorithm>
#include <cstring>

namespace vantora {

void SectionRaster::Resize(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
  wordsPerColumn_ = (rows + 63) / 64;
  const int topBits = rows - (wordsPerColumn_ - 1) * 64;
  topWordMask_ = topBits >= 64 ? ~Word{0} : (Word{1} << topBits) - 1;
  marks_.assign(std::size_t(columns) * wordsPerColumn_, 0);
  weights_.assign(std::size_t(columns) * rows, 0);
  ForgetWeightBox();
}

void SectionRaster::SetOutlineWeight(int i, int j, int weight) {
  if (!Contains(i, j)) return;
  weights_[Index(i, j)] = static_cast<std::int8_t>(weight);
  weightMinI_ = std::min(weightMinI_, i);
  weightMaxI_ = std::max(weightMaxI_, i);
  weightMinJ_ = std::min(weightMinJ_, j);
  weightMaxJ_ = std::max(weightMaxJ_, j);
}

void SectionRaster::Clear() {
  std::fill(marks_.begin(), marks_.end(), Word{0});
  for (int i = weightMinI_; i <= weightMaxI_; ++i) {
    std::memset(&weights_[Index(i, weightMinJ_)], 0, std::size_t(weightMaxJ_ - weightMinJ_ + 1));
  }
  ForgetWeightBox();
}

void SectionRaster::ForgetWeightBox() {
  weightMinI_ = weightMinJ_ = std::numeric_limits<int>::max();
  weightMaxI_ = weightMaxJ_ = -1;
}

}  // namespace vantora
