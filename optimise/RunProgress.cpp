#include "optimise/RunProgress.h"

#include <algorithm>
#include <cmath>

namespace zantrel {

SpanProgress::SpanProgress(Progress& whole, double begin, double end, Texts texts)
    : m_whole(whole), m_begin(begin), m_end(end), m_texts(texts) {}

void SpanProgress::SetText(std::string_view text) {
    if (m_texts == Texts::Pass)
        m_whole.SetText(text);
}

void SpanProgress::SetPosition(int position) {
    const double part = std::clamp(position, 0, 100) / 100.0;
    const int shown = static_cast<int>(std::floor(m_begin + (m_end - m_begin) * part));
    if (shown <= m_shown)
        return;
    m_shown = shown;
    m_whole.SetPosition(shown);
}

Share ShareOf(double done, double part, double total) {
    if (total <= 0.0)
        return {100.0, 100.0};
    return {std::min(100.0, 100.0 * done / total), std::min(100.0, 100.0 * (done + part) / total)};
}

}  // namespace zantrel
