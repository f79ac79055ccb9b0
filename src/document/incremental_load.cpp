#include "document/incremental_load.h"

#include <algorithm>

#include "util/paths.h"

namespace varnex {
namespace {

constexpr std::int64_t kHashedBytes = 64 * 1024;

// FNV-1a over bytes [from, to) of source; a shorter source hashes what it has.
std::uint64_t hashOf(ByteSource& source, std::int64_t from, std::int64_t to) {
    std::uint64_t hash = 14695981039346656037ULL;
    if (!source.seek(from)) return hash;
    for (std::int64_t at = from; at < to;) {
        const std::string_view window = source.window();
        if (window.empty()) break;
        const auto take = static_cast<std::size_t>(std::min<std::int64_t>(to - at, static_cast<std::int64_t>(window.size())));
        for (std::size_t i = 0; i < take; ++i) {
            hash = (hash ^ static_cast<unsigned char>(window[i])) * 1099511628211ULL;
        }
        source.advance(take);
        at += static_cast<std::int64_t>(take);
    }
    return hash;
}

std::uint64_t headHash(ByteSource& source, std::int64_t end) { return hashOf(source, 0, std::min(end, kHashedBytes)); }
std::uint64_t tailHash(ByteSource& source, std::int64_t end) {
    return hashOf(source, std::max<std::int64_t>(0, end - kHashedBytes), end);
}

}  // namespace

bool hasOnlyGrown(const FileSource& file, const KeptRead& kept) {
    if (!file.isOpen() || file.identity() != kept.identity) return false;
    const std::int64_t size = file.size();
    if (size < kept.size || size < kept.read.resumeAt) return false;
    const std::unique_ptr<ByteSource> bytes = file.another();
    if (!bytes) return false;
    const std::int64_t end = kept.read.resumeAt;
    return headHash(*bytes, end) == kept.headHash && tailHash(*bytes, end) == kept.tailHash;
}

const KeptRead* ReadKeeper::earlier(const std::string& path, int occurrence) const {
    if (!m_before) return nullptr;
    for (const KeptRead& kept : m_before->files) {
        if (kept.path == path && occurrence-- == 0) return &kept;
    }
    return nullptr;
}

int ReadKeeper::read(const std::string& path, std::span<DataSet> slots, DataPool& pool, TitleText* vtitleOut) {
    const int occurrence = static_cast<int>(std::count(m_seen.begin(), m_seen.end(), path));
    m_seen.push_back(path);
    ++m_reads;
    FileSource file(path);
    if (!file.isOpen() || slots.empty()) return 0;
    const FileTime time = lastWriteTime(path);
    KeptRead next;
    next.path = path;
    next.identity = file.identity();
    next.size = file.size();
    const KeptRead* before = earlier(path, occurrence);
    if (before && !hasOnlyGrown(file, *before)) before = nullptr;
    const FileReadState* resumeFrom = before ? &before->read : nullptr;
    int n = 0;
    if (m_progress) {
        CountingSource counted(file, *m_progress);
        n = readDataFile(counted, path, slots, pool, vtitleOut, ReadPlan{}, &next.read, resumeFrom);
    } else {
        n = readDataFile(file, path, slots, pool, vtitleOut, ReadPlan{}, &next.read, resumeFrom);
    }
    if (n == 0) return 0;
    if (before) ++m_readOn;
    // A file written while it was read may not hold the bytes its kept state describes: it is read
    // whole next time.
    if (lastWriteTime(path) == time && file.identity() == next.identity) {
        next.headHash = headHash(file, next.read.resumeAt);
        next.tailHash = tailHash(file, next.read.resumeAt);
        m_kept.files.push_back(std::move(next));
    }
    return n;
}

AppendedReload reloadAppended(ViewList& views, const LoadContext& context) {
    if (!allFilesPresent(views.current())) return AppendedReload::FilesMissing;
    ReadKeeper keeper(views.current().readState);
    LoadContext reading = context;
    reading.keeper = &keeper;
    if (loadIntoViews(views, LoadMode::Reread, {}, reading) == 0) return AppendedReload::Failed;
    return keeper.allReadOn() ? AppendedReload::ReadOn : AppendedReload::ReadWhole;
}

}  // namespace varnex
