// "Grösse ändern" on the Header tab: the typed size goes to a place the user picks.
#include <QLineEdit>

#include "core/base/numbers.h"
#include "core/writers/map_resize.h"
#include "core/session/session.h"
#include "ui/dialogs.h"
#include "ui/header_tab.h"
#include "ui/language_texts.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

// The grid starts 8 bytes behind the offset chosen and needs an even address.
constexpr int kResizeAlignment = 2;

}  // namespace

void HeaderTab::Cmd_ResizeClick() {
    const int height = StrToInt(toStd(Txt_MapHoehe->text().trimmed()));
    const int width = StrToInt(toStd(Txt_MapBreite->text().trimmed()));
    // A size the editor cannot hold is refused before the user picks a place for it.
    checkMapSize(width, height);
    const LanguageTable& lang = m_session.lang();
    RepointRequest request;
    request.caption = langText(lang, 880, "Neuer MapOffset");
    request.count = resizeSpace(width, height);
    request.alignment = kResizeAlignment;
    request.check = [this, width, height](std::uint32_t at, std::uint8_t fill) {
        checkResizePlace(m_session.rom(), m_session.mapState(), width, height, at, fill);
    };
    const auto choice = m_dialogs.repoint(this, request);
    if (!choice) {
        m_dialogs.inform(this, langText(lang, "01", "Info"),
                         langText(lang, 9320, "Grösse ändern abgebrochen!"));
        return;
    }
    resizeMap(m_session.rom(), m_session.romState().profile(), m_session.mapState(), width, height,
              choice->offset, choice->fill);
    emit mapResized();
}

}  // namespace quillon::ui
