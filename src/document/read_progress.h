// Watching a read from another thread: how many bytes it has gone through, and a request to stop.
//
// A load run off the UI thread reads its files through a CountingSource, which adds every byte it
// passes to `bytes` and, once `stop` is set, reports the end of the data, so the reader finishes at
// once with whatever it has (the caller then throws the result away). The reader passes over a data
// file more than once (kPasses: the scan and the building of the sets), so `bytes` runs to about
// kPasses times the file's size.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "document/line_reader.h"

namespace varnex {

struct ReadProgress {
    static constexpr int kPasses = 2;
    std::atomic<std::int64_t> bytes{0};
    std::atomic<bool> stop{false};
};

// The share (0..1) of a read of `size` bytes done after `bytes` counted, never 1 before it ends.
double readShare(std::int64_t bytes, std::int64_t size);

// Reads `inner` (which must outlive it) and counts into `progress` (shared by the sources made by
// another(), which own their inner sources).
class CountingSource final : public ByteSource {
public:
    CountingSource(ByteSource& inner, ReadProgress& progress) : m_inner(&inner), m_progress(progress) {}
    CountingSource(std::unique_ptr<ByteSource> owned, ReadProgress& progress)
        : m_owned(std::move(owned)), m_inner(m_owned.get()), m_progress(progress) {}

    std::string_view window() override;
    void advance(std::size_t n) override;
    bool seek(std::int64_t pos) override { return m_inner->seek(pos); }
    std::int64_t position() const override { return m_inner->position(); }
    std::int64_t size() const override { return m_inner->size(); }
    std::unique_ptr<ByteSource> another() const override;

private:
    std::unique_ptr<ByteSource> m_owned;
    ByteSource* m_inner;
    ReadProgress& m_progress;
};

}  // namespace varnex
