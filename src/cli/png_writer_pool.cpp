#include "cli/png_writer_pool.h"

#include <QImageWriter>
#include <algorithm>
#include <utility>

#include "core/errors.h"

namespace quillon::cli {

namespace {

constexpr std::size_t kMaxWaiting = 8;
// Qt's PNG compression runs from 0 to 100 and maps onto the deflate levels 0-9; 20 is level 1,
// the fastest that still compresses (map pictures repeat their blocks and shrink well).
constexpr int kFastestDeflate = 20;

}  // namespace

void writeFastPng(const QImage& picture, const std::filesystem::path& file) {
    QImageWriter writer(QString::fromStdString(file.string()), QByteArray("PNG"));
    writer.setCompression(kFastestDeflate);
    if (picture.isNull() || !writer.write(picture)) {
        throw Error("cannot write \"" + file.string() + "\": " +
                    (picture.isNull() ? std::string("the picture is empty")
                                      : writer.errorString().toStdString()));
    }
}

void writeFastPng(const IndexedBitmap& picture, const std::filesystem::path& file) {
    if (picture.empty() || picture.colours.empty()) {
        throw Error("cannot write \"" + file.string() + "\": the picture is empty");
    }
    if (picture.colours.size() > 256) {
        throw Error("cannot write \"" + file.string() + "\": more than 256 colours");
    }
    // Wraps the pixels without copying; the image is written and dropped before they go.
    QImage image(const_cast<uchar*>(picture.pixels.data()), picture.width, picture.height,
                 picture.width, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(picture.colours.begin(), picture.colours.end()));
    writeFastPng(image, file);
}

PngWriterPool::PngWriterPool(unsigned workers) {
    if (workers == 0) {
        // Drawing takes a tenth of the time of compressing: every processor compresses.
        workers = std::max(1u, std::thread::hardware_concurrency());
    }
    for (unsigned i = 0; i < workers; ++i) {
        m_workers.emplace_back([this] { work(); });
    }
}

PngWriterPool::~PngWriterPool() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& t : m_workers) {
        t.join();
    }
}

void PngWriterPool::write(Picture picture, std::filesystem::path file, std::size_t tag) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < kMaxWaiting; });
    m_jobs.push_back({std::move(picture), std::move(file), tag});
    m_changed.notify_all();
}

std::vector<PngWriterPool::Failure> PngWriterPool::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && m_busy == 0; });
    return std::exchange(m_failures, {});
}

void PngWriterPool::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;  // stopping
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_busy;
        m_changed.notify_all();
        lock.unlock();
        std::string error;
        try {
            std::visit([&job](const auto& picture) { writeFastPng(picture, job.file); },
                       job.picture);
        } catch (const std::exception& e) {
            error = e.what();
        }
        lock.lock();
        --m_busy;
        if (!error.empty()) {
            m_failures.push_back({job.tag, std::move(error)});
        }
        m_changed.notify_all();
    }
}

}  // namespace quillon::cli
