#include "stage/screen_fit.h"

#include <algorithm>

#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "stage/stage_look.h"

namespace kavrel {

namespace {

using F = FitCaption;

std::size_t I(FitCaption c) {
  return static_cast<std::size_t>(c);
}

}  // namespace

CaptionPointSizes FitCaptionsToScreen(CaptionPointSizes sizes, QSize screen,
                                      const std::function<QSize(FitCaption, int)>& measure) {
  const int sw = screen.width();
  const int sh = screen.height();
  auto size = [&](F c) { return measure(c, sizes[I(c)]); };

  // Binary search: a font picked at hundreds of points must not cost hundreds of measurements.
  for (std::size_t i = 0; i < kFitCaptionCount; ++i) {
    const auto c = static_cast<F>(i);
    const int maxHeight = c == F::Centre ? sh - 10 : sh;
    auto fits = [&](int pointSize) {
      const QSize s = measure(c, pointSize);
      return s.width() <= sw - 10 && s.height() <= maxHeight;
    };
    if (sizes[i] <= 1 || fits(sizes[i])) continue;
    int lo = 1;             // fits, or nothing larger does
    int hi = sizes[i] - 1;  // the largest size still worth trying
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (fits(mid)) {
        lo = mid;
      } else {
        hi = mid - 1;
      }
    }
    sizes[i] = lo;
  }

  // A stack that is too tall gives up a point from its tallest caption until it fits.
  auto fitStack = [&](std::initializer_list<F> stack, int budget) {
    for (;;) {
      int total = 0;
      F tallest = *stack.begin();
      int tallestHeight = -1;
      for (F c : stack) {
        const int h = size(c).height();
        total += h;
        if (sizes[I(c)] > 1 && h > tallestHeight) {
          tallest = c;
          tallestHeight = h;
        }
      }
      if (total <= budget || tallestHeight < 0) return;
      // Large fonts give up a twentieth at a time, small ones a point.
      sizes[I(tallest)] -= std::max(1, sizes[I(tallest)] / 20);
      sizes[I(tallest)] = std::max(1, sizes[I(tallest)]);
    }
  };
  fitStack({F::MainTitle, F::SubTitle, F::Award}, sh / 2 - 8);
  fitStack({F::Drawer, F::Status, F::PrizeName}, sh / 2 - kBottomFixedHeight);
  return sizes;
}

void KeepCaptionsOnScreen(const StageElements& s, const QRect& screen) {
  StageLabel* const labels[kFitCaptionCount] = {s.mainTitle, s.subtitle,  s.award, s.drawer,
                                                s.status,    s.prizeName, s.centre};
  CaptionPointSizes sizes{};
  for (std::size_t i = 0; i < kFitCaptionCount; ++i) sizes[i] = std::max(1, labels[i]->font().pointSize());
  const CaptionPointSizes fitted = FitCaptionsToScreen(sizes, screen.size(), [&](FitCaption c, int pointSize) {
    StageLabel* label = labels[I(c)];
    QFont font = label->font();
    font.setPointSize(pointSize);
    // An empty caption still takes its line's height in the layout.
    const QSize text = MeasureCaption(font, label->text());
    return QSize(text.width() + StageLabel::kEffectPadding, text.height() + StageLabel::kEffectPadding);
  });
  for (std::size_t i = 0; i < kFitCaptionCount; ++i) {
    if (fitted[i] == sizes[i]) continue;
    QFont font = labels[i]->font();
    font.setPointSize(fitted[i]);
    labels[i]->setFont(font);
  }
}

}  // namespace kavrel
