#include <gtest/gtest.h>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/services/QtMessageBoxes.h"
#include "tests/support/HeadlessMain.h"

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::QtMessageBoxes;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    Qt::TextFormat format = Qt::AutoText;
    // What an X11 window manager reads as the box's name (_NET_WM_NAME, then
    // WM_NAME); empty when the tests run on another platform.
    bool onX11 = false;
    std::string netName;
    std::string name;
};

std::string X11Property(xcb_connection_t* connection, xcb_window_t window, const char* atomName) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(atomName)), atomName),
        nullptr);
    if (atom == nullptr) return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    std::free(atom);
    if (reply == nullptr) return {};
    std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                      static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

void NoteNativeName(QWidget* box, SeenBox& seen) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    const auto window = static_cast<xcb_window_t>(box->internalWinId());
    seen.onX11 = true;
    seen.netName = X11Property(x11->connection(), window, "_NET_WM_NAME");
    seen.name = X11Property(x11->connection(), window, "WM_NAME");
}

// A box still open this long after it was to be answered is rejected, so a box
// the answer missed fails its test instead of waiting for a click until CTest
// kills the program.
constexpr int kGiveUpMs = 10000;

// Answers the next message box by pressing the button with the given caption,
// after noting what the box showed. The timers belong to `context`, so none
// outlives the test that set it.
void AnswerNextBox(SeenBox& seen, const QString& press, QObject* context) {
    QTimer::singleShot(0, context, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;  // left to the fallback below
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.format = box->textFormat();
        NoteNativeName(box, seen);
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == press) {
                b->click();
                return;
            }
        }
        ADD_FAILURE() << "the box has no button " << press.toStdString();
        box->reject();
    });
    QTimer::singleShot(kGiveUpMs, context, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "a message box was still open; rejected it";
            dialog->reject();
        }
    });
}

class MessageBoxesTest : public ::testing::Test {
protected:
    void Answer(const QString& press) { AnswerNextBox(seen_, press, &timers_); }

    QtMessageBoxes boxes_{nullptr};
    SeenBox seen_;
    QObject timers_;
};

TEST(MessageBoxText, CarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(QtMessageBoxes::DisplayText("один\rдва"), QStringLiteral("один\nдва"));
    EXPECT_EQ(QtMessageBoxes::DisplayText("один\r\nдва\r"), QStringLiteral("один\nдва\n"));
    EXPECT_EQ(QtMessageBoxes::DisplayText("без разрывов"), QStringLiteral("без разрывов"));
}

TEST_F(MessageBoxesTest, YesNoQuestionAnsweredYes) {
    Answer(QStringLiteral("Да"));
    const MsgResult result = boxes_.Show("Завершение программы", "Вы уверены?\rПравда?",
                                         MsgButtons::YesNo, MsgIcon::Question);
    EXPECT_EQ(result, MsgResult::Yes);
    EXPECT_EQ(seen_.title, QStringLiteral("Завершение программы"));
    EXPECT_EQ(seen_.text, QStringLiteral("Вы уверены?\nПравда?"));
    EXPECT_EQ(seen_.icon, QMessageBox::Question);
    EXPECT_EQ(seen_.buttons.size(), 2);
    if (seen_.onX11) {
        EXPECT_EQ(seen_.netName, "Завершение программы");
    }
}

TEST_F(MessageBoxesTest, YesNoQuestionAnsweredNo) {
    Answer(QStringLiteral("Нет"));
    EXPECT_EQ(boxes_.Show("Вопрос", "Да или нет?", MsgButtons::YesNo, MsgIcon::Question),
              MsgResult::No);
}

TEST_F(MessageBoxesTest, NoticeWithEmptyTitleShowsExclamationAndOk) {
    Answer(QStringLiteral("OK"));
    const MsgResult result =
        boxes_.Show("", "В демонстрационной версии программы\rданная функция не подключена.",
                    MsgButtons::Ok, MsgIcon::Exclamation);
    EXPECT_EQ(result, MsgResult::Ok);
    EXPECT_EQ(seen_.title, QString());
    EXPECT_EQ(seen_.text,
              QStringLiteral("В демонстрационной версии программы\nданная функция не подключена."));
    EXPECT_EQ(seen_.icon, QMessageBox::Warning);
    EXPECT_EQ(seen_.buttons, QStringList{QStringLiteral("OK")});
    // Qt would name an untitled window after the application; the box has no name.
    if (seen_.onX11) {
        EXPECT_EQ(seen_.netName, "");
        EXPECT_EQ(seen_.name, "");
    }
}

TEST_F(MessageBoxesTest, MarkupInTextIsShownLiterally) {
    Answer(QStringLiteral("OK"));
    boxes_.Show("", "<b>Unable to write to</b> C:\\a&b.ini", MsgButtons::Ok, MsgIcon::Error);
    EXPECT_EQ(seen_.text, QStringLiteral("<b>Unable to write to</b> C:\\a&b.ini"));
    EXPECT_EQ(seen_.format, Qt::PlainText);
    EXPECT_EQ(seen_.icon, QMessageBox::Critical);
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
