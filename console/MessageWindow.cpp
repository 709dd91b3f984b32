#include "console/MessageWindow.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "console/Journal.h"

namespace console {

namespace {

constexpr Control kLayout[] = {
    {"TitleMessage", Kind::Label, {1, 1, 336, 16}, "Окно сообщений", kTitleLook},
    {"PageControl1", Kind::Tabs, {1, 17, 336, 160}},
};

}  // namespace

MessageWindow::MessageWindow(QWidget& section, Journal& journal) {
    auto* pages = qobject_cast<QTabWidget*>(BuildControls(section, Layout()).value("PageControl1"));
    auto* system = new QWidget;
    system->setObjectName("TabSheet1");
    auto* program = new QWidget;
    program->setObjectName("TabSheet2");
    pages->addTab(system, "Системные");
    pages->addTab(program, "Программные");
    pages->setCurrentWidget(system);

    auto* view = new JournalView(system);
    view->setObjectName("RichMessage");
    auto* fill = new QVBoxLayout(system);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(view);
    journal.ShowIn(*view);
}

std::span<const Control> MessageWindow::Layout() {
    return kLayout;
}

}  // namespace console
