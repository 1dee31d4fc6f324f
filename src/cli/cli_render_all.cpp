#include "cli/cli_render_all.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "cli/png_writer_pool.h"
#include "core/errors.h"
#include "core/gfx/block_atlas.h"
#include "core/map/map_loader.h"
#include "core/session/session.h"
#include "imageio/bitmap_io.h"

namespace quillon::cli {

namespace {

struct Job {
    std::string id;
    std::string name;
    // Not known before drawing: the map is drawn last and reports its fault then.
    int tileset1 = std::numeric_limits<int>::max();
    int tileset2 = std::numeric_limits<int>::max();
    std::string error;  // empty once written
};

std::vector<Job> listMaps(const Session& session) {
    std::vector<Job> jobs;
    for (const auto& bank : session.romState().bankScan().banks) {
        for (const BankMap& m : bank) {
            Job job;
            job.id = std::to_string(m.bank) + "." + std::to_string(m.map);
            job.name = m.name;
            jobs.push_back(std::move(job));
        }
    }
    return jobs;
}

// The drawing order: maps that share a tileset pair one after another, so that a pair is
// decoded once rather than at every change. Reading a map's footer costs little next to
// decoding its tilesets.
std::vector<std::size_t> tilesetOrder(Session& session, std::vector<Job>& jobs) {
    const CurrentMap none;
    for (Job& job : jobs) {
        try {
            const LoadedMap loaded = readMap(session.rom(), session.romState().profile(),
                                             session.data().mapsFile(), job.id, job.id, none);
            job.tileset1 = loaded.map.tileset1;
            job.tileset2 = loaded.map.tileset2;
        } catch (const Error&) {
            // Drawn last; its drawing reports the fault.
        }
    }
    std::vector<std::size_t> order(jobs.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&jobs](std::size_t a, std::size_t b) {
        return std::pair(jobs[a].tileset1, jobs[a].tileset2) <
               std::pair(jobs[b].tileset1, jobs[b].tileset2);
    });
    return order;
}

// The picture of one map. The map view is copied as colour indices from the atlas of the
// map's tileset pair, built once for all maps that share the pair; where the pair's images
// hold more colours than an index reaches, and for the other views, the 32-bit picture.
PngWriterPool::Picture drawMap(PictureMaker& maker, Session& session, BlockAtlas& atlas,
                               const std::string& id, const PictureOptions& options) {
    if (options.view != View::Map || options.neighbours) {
        return imageio::wrapBitmap(maker.render(id, options)).copy();
    }
    maker.open(id, options);
    IndexedBitmap picture;
    if (atlas.update(session.romState().tilesets()) &&
        drawIndexedMap(atlas, session.mapState().grid(), options.grid, picture)) {
        return picture;
    }
    return imageio::wrapBitmap(maker.draw(options)).copy();
}

void showProgress(std::ostream* progress, std::size_t done, std::size_t total,
                  const std::string& id) {
    if (progress == nullptr) {
        return;
    }
    *progress << "\r" << done << "/" << total << " maps  " << id << "        " << std::flush;
    if (done == total) {
        *progress << "\r" << std::string(40, ' ') << "\r" << std::flush;
    }
}

void writeIndex(const std::vector<Job>& jobs, const std::filesystem::path& file) {
    nlohmann::ordered_json maps = nlohmann::ordered_json::array();
    nlohmann::ordered_json failed = nlohmann::ordered_json::array();
    for (const Job& job : jobs) {
        if (job.error.empty()) {
            maps.push_back({{"id", job.id}, {"name", job.name}, {"file", job.id + ".png"}});
        } else {
            failed.push_back({{"id", job.id}, {"name", job.name}, {"error", job.error}});
        }
    }
    nlohmann::ordered_json index;
    index["maps"] = std::move(maps);
    index["failed"] = std::move(failed);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << index.dump(2) << '\n';
    out.close();
    if (!out) {
        throw Error("cannot write \"" + file.string() + "\"");
    }
}

void makeFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
        throw Error("cannot make the folder \"" + dir.string() + "\"" +
                    (ec ? ": " + ec.message() : std::string(": a file has that name")));
    }
}

}  // namespace

RenderAllResult renderAll(Session& session, const std::filesystem::path& outDir,
                          const PictureOptions& options, std::ostream& errors,
                          std::ostream* progress) {
    makeFolder(outDir);
    std::vector<Job> jobs = listMaps(session);
    const std::vector<std::size_t> order = tilesetOrder(session, jobs);
    PictureMaker maker(session);
    BlockAtlas atlas;
    PngWriterPool pool;
    RenderAllResult result;
    auto fail = [&](Job& job, const std::string& message) {
        job.error = message;
        if (progress != nullptr) {
            *progress << "\r" << std::string(40, ' ') << "\r";
        }
        errors << message << '\n';
        result.failures.push_back(message);
    };
    for (std::size_t n = 0; n < order.size(); ++n) {
        Job& job = jobs[order[n]];
        try {
            pool.write(drawMap(maker, session, atlas, job.id, options),
                       outDir / (job.id + ".png"), order[n]);
            ++result.written;
        } catch (const std::exception& e) {
            fail(job, e.what());
        }
        showProgress(progress, n + 1, order.size(), job.id);
    }
    for (const auto& failure : pool.finish()) {
        --result.written;
        fail(jobs[failure.tag], "map " + jobs[failure.tag].id + ": " + failure.message);
    }
    writeIndex(jobs, outDir / "index.json");
    return result;
}

}  // namespace quillon::cli
