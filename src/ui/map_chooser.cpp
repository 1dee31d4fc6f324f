#include "ui/map_chooser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "core/map/map_list.h"
#include "core/session/map_listing.h"
#include "core/session/session.h"
#include "ui/command.h"
#include "ui/qt_text.h"

namespace quillon::ui {

namespace {

// 1 for a root line, 2 for a bank or group, 3 for a map.
int levelOf(const QTreeWidgetItem* item) {
    int level = 1;
    for (const QTreeWidgetItem* p = item->parent(); p != nullptr; p = p->parent()) {
        ++level;
    }
    return level;
}

void addLines(QTreeWidgetItem* parent, const MapListNode& node) {
    auto* item = new QTreeWidgetItem(parent, QStringList{toQ(node.text)});
    for (const MapListNode& child : node.children) {
        addLines(item, child);
    }
}

}  // namespace

MapChooser::MapChooser(const Session& session, Dialogs& dialogs, QWidget* parent)
    : QObject(parent),
      m_session(session),
      m_dialogs(dialogs),
      m_tree(new QTreeWidget(parent)),
      m_bar(new QWidget(parent)),
      m_cboMain(new QComboBox(m_bar)),
      m_cboMap(new QComboBox(m_bar)) {
    m_tree->setObjectName(QStringLiteral("MapList"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            commandSlot(m_tree, m_dialogs, this, &MapChooser::MapListDblClick));

    m_bar->setObjectName(QStringLiteral("Scroll_Header"));
    m_cboMain->setObjectName(QStringLiteral("Cbo_Main"));
    m_cboMap->setObjectName(QStringLiteral("Cbo_Map"));
    m_cboMain->setMinimumContentsLength(16);
    m_cboMap->setMinimumContentsLength(32);
    auto* layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_cboMain);
    layout->addWidget(m_cboMap, 1);
    m_bar->hide();
    // activated: only the user's choice counts, not the filling of the lists.
    connect(m_cboMain, &QComboBox::activated, this,
            commandSlot(m_bar, m_dialogs, this, &MapChooser::Cbo_MainChange));
    connect(m_cboMap, &QComboBox::activated, this,
            commandSlot(m_bar, m_dialogs, this, &MapChooser::Cbo_MapChange));
}

void MapChooser::load(const MapListTree& list) {
    m_tree->clear();
    m_cboMain->clear();
    m_cboMap->clear();
    for (const MapListNode& root : list.roots) {
        auto* item = new QTreeWidgetItem(m_tree, QStringList{toQ(root.text)});
        for (const MapListNode& child : root.children) {
            addLines(item, child);
        }
    }
    for (const std::string& group : list.groups) {
        m_cboMain->addItem(toQ(group));
    }
    m_cboMain->setCurrentIndex(-1);
    if (list.headerRoot >= 0) {
        m_tree->topLevelItem(list.headerRoot)->setExpanded(true);
    }
    if (m_tree->topLevelItemCount() > 0) {
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
    }
}

void MapChooser::retitleRoots(const MapListTree& list) {
    const int count = std::min(m_tree->topLevelItemCount(), static_cast<int>(list.roots.size()));
    for (int i = 0; i < count; ++i) {
        m_tree->topLevelItem(i)->setText(0, toQ(list.roots[static_cast<std::size_t>(i)].text));
    }
}

void MapChooser::setComboMode(bool on) {
    m_bar->setVisible(on);
    m_tree->setVisible(!on);
}

void MapChooser::setEnabled(bool on) {
    m_tree->setEnabled(on);
    m_bar->setEnabled(on);
}

bool MapChooser::isEnabled() const { return m_tree->isEnabled(); }

void MapChooser::focusList() {
    if (m_tree->isVisible()) {
        m_tree->setFocus();
    } else {
        m_cboMain->setFocus();
    }
}

bool MapChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runCommand(m_tree, m_dialogs, [this] { MapListKeyDown(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString MapChooser::selectMap(const QString& identifier, const QString& chosen) {
    const auto isMap = [&](const QTreeWidgetItem* item) {
        return item != nullptr && levelOf(item) == 3 &&
               identifierFromLine(toStd(item->text(0))) == toStd(identifier);
    };
    QTreeWidgetItem* line = nullptr;
    QTreeWidgetItem* first = nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr && line == nullptr; ++it) {
        if (isMap(*it) && (*it)->text(0) == chosen) {
            line = *it;
        } else if (isMap(*it) && first == nullptr) {
            first = *it;
        }
    }
    if (line == nullptr) {
        line = isMap(m_tree->currentItem()) ? m_tree->currentItem() : first;
    }
    if (!isMap(line)) {
        return {};
    }
    m_tree->setCurrentItem(line);
    m_tree->scrollToItem(line);
    // A map chosen in the combo boxes keeps the line it was chosen by.
    const bool fromCombo = m_cboMap->findText(chosen, Qt::MatchExactly) >= 0 &&
                           identifierFromLine(toStd(chosen)) == toStd(identifier);
    return fromCombo ? chosen : line->text(0);
}

void MapChooser::MapListDblClick(QTreeWidgetItem* item) { chooseItem(item); }

void MapChooser::MapListKeyDown() { chooseItem(m_tree->currentItem()); }

void MapChooser::chooseItem(const QTreeWidgetItem* item) {
    // Roots, banks and groups open nothing.
    if (item != nullptr && levelOf(item) == 3) {
        emit mapChosen(item->text(0));
    }
}

void MapChooser::Cbo_MainChange(int index) {
    m_cboMap->clear();
    if (index < 0) {
        return;
    }
    for (const std::string& line :
         mapGroupLines(m_session.data(), toStd(m_cboMain->itemText(index)))) {
        m_cboMap->addItem(toQ(line));
    }
    m_cboMap->setCurrentIndex(-1);
}

void MapChooser::Cbo_MapChange(int index) {
    if (index >= 0) {
        emit mapChosen(m_cboMap->itemText(index));
    }
}

}  // namespace quillon::ui
