#include "document/read_progress.h"

#include <algorithm>

namespace varnex {

double readShare(std::int64_t bytes, std::int64_t size) {
    if (size <= 0 || bytes <= 0) return 0;
    const double share = static_cast<double>(bytes) / (static_cast<double>(size) * ReadProgress::kPasses);
    return std::clamp(share, 0.0, 0.99);
}

std::string_view CountingSource::window() {
    if (m_progress.stop.load(std::memory_order_relaxed)) return {};
    return m_inner->window();
}

void CountingSource::advance(std::size_t n) {
    m_inner->advance(n);
    m_progress.bytes.fetch_add(static_cast<std::int64_t>(n), std::memory_order_relaxed);
}

std::unique_ptr<ByteSource> CountingSource::another() const {
    std::unique_ptr<ByteSource> inner = m_inner->another();
    if (!inner) return nullptr;
    return std::make_unique<CountingSource>(std::move(inner), m_progress);
}

}  // namespace varnex
