#pragma once

#include <QImage>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "core/gfx/block_atlas.h"

namespace quillon::cli {

// Encodes and writes PNG files on worker threads while the caller draws the next picture:
// compressing the pictures of a whole game takes longer than drawing them. Each picture is
// written at the fastest compression; an indexed picture as a palette PNG. At most a few
// pictures wait at a time.
class PngWriterPool {
public:
    struct Failure {
        std::size_t tag;
        std::string message;
    };

    // workers: 0 picks one per processor.
    explicit PngWriterPool(unsigned workers = 0);
    ~PngWriterPool();
    PngWriterPool(const PngWriterPool&) = delete;
    PngWriterPool& operator=(const PngWriterPool&) = delete;

    using Picture = std::variant<QImage, IndexedBitmap>;

    // Queues the picture for file; waits while the queue is full. tag names the picture in a
    // failure.
    void write(Picture picture, std::filesystem::path file, std::size_t tag);
    // Waits until every queued picture is written; returns the writes that failed.
    std::vector<Failure> finish();

private:
    struct Job {
        Picture picture;
        std::filesystem::path file;
        std::size_t tag;
    };
    void work();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    std::size_t m_busy = 0;
    bool m_stopping = false;
    std::vector<Failure> m_failures;
    std::vector<std::thread> m_workers;
};

// Writes one PNG at the fastest compression. Throws quillon::Error naming the file.
void writeFastPng(const QImage& picture, const std::filesystem::path& file);
// The same for an indexed picture: a palette PNG of its colours (8 bits a pixel, rows stored
// unfiltered, as the PNG writer does for palette pictures), which shows the same pixels.
void writeFastPng(const IndexedBitmap& picture, const std::filesystem::path& file);

}  // namespace quillon::cli
