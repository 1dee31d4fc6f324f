#include "cli/cli_pictures.h"

#include "cli/cli_messages.h"
#include "core/errors.h"
#include "core/events/event_view.h"
#include "core/state/neighbours.h"
#include "core/session/session.h"

namespace quillon::cli {

PictureMaker::PictureMaker(Session& session) : m_session(session) {
    m_sprites.prepare(session.rom(), session.romState().profile());
}

const Bitmap& PictureMaker::render(const std::string& id, const PictureOptions& options) {
    open(id, options);
    return draw(options);
}

void PictureMaker::open(const std::string& id, const PictureOptions& options) {
    checkMapId(m_session, id);
    m_id = id;
    try {
        if (auto notice = m_session.openMap(id, id)) {
            throw Error(std::move(*notice));
        }
        // The one setting the pictures read; the tool's settings are never written.
        m_session.settings().setFlag(Settings::Flag::Grid, options.grid);
        m_session.mapState().invalidatePictures();
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

const Bitmap& PictureMaker::draw(const PictureOptions& options) {
    try {
        m_warnings.clear();
        const Bitmap& picture = view(options);
        return options.neighbours ? withNeighbours(picture) : picture;
    } catch (const Error& e) {
        throw Error("map " + m_id + ": " + errorText(e));
    }
}

const Bitmap& PictureMaker::view(const PictureOptions& options) {
    switch (options.view) {
        case View::Movement:
            return m_session.mapState().pictures().movementView();
        case View::Events:
            return eventPicture(options.personsOnly);
        case View::Map:
            break;
    }
    return m_session.mapState().pictures().map();
}

// The band the Map tab shows around the map, drawn by the same core function.
const Bitmap& PictureMaker::withNeighbours(const Bitmap& picture) {
    const NeighbourBand band = drawNeighbourBand(m_session.rom(), m_session.romState(),
                                                 m_session.data(), m_session.mapState());
    for (const NeighbourWarning& warning : band.warnings) {
        m_warnings.push_back(messageText(warning.text()));
    }
    composeNeighbourPicture(band, picture, m_composed);
    return m_composed;
}

// Persons as their pictures; every other kind as its marker unless only persons are asked
// for. Nothing is selected, so no selection square is drawn.
const Bitmap& PictureMaker::eventPicture(bool personsOnly) {
    EventViewOptions options;
    options.showSprites = true;
    options.hideOthers = personsOnly;
    options.markActive = false;
    DrawEvents(m_session.mapState().pictures().map(), m_session.mapState().events(), EventRef{},
               options, m_sprites, m_markers, m_events);
    return m_events;
}

}  // namespace quillon::cli
