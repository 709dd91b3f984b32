#include "console/BlockPanel.h"

#include <QLineEdit>

#include "console/Access.h"
#include "console/OnClick.h"
#include "console/PasswordField.h"
#include "console/Services.h"
#include "plant/Outlets.h"
#include "platform/services/PointerConfinement.h"

namespace console {

namespace {

// The red plate with the blocked notice on it.
constexpr Control kLayout[] = {
    {"Label2", Kind::Label, {0, 0, 338, 16}, "Блокировка системы", kOverlayTitleLook},
    {"Shape1", Kind::Plate, {21, 19, 297, 25}, "", Look().Paper(palette::Red)},
    {"Label3",
     Kind::Label,
     {29, 23, 281, 17},
     "Система  заблокирована",
     Look().Size(15).Bold().Ink(palette::Yellow).Paper(palette::Red).Centre()},
    {"Label4",
     Kind::Label,
     {0, 48, 337, 57},
     "Разблокировать систему может только\nзарегистрированный пользователь.\n\nДля "
     "разблокирования системы  введите пароль.",
     Look().Bold().Ink(palette::Blue).Centre()},
    {"Edit1", Kind::PasswordEdit, {92, 104, 153, 21}},
    {"Button1", Kind::Button, {109, 132, 121, 20}, "Разблокировать"},
};

}  // namespace

BlockPanel::BlockPanel(TPanel& panel, const RegionServices& services)
    : panel_(panel),
      journal_(services.journal),
      confinement_(services.confinement),
      access_(services.access) {
    const Controls made = BuildControls(panel, Layout());
    password_ = qobject_cast<QLineEdit*>(made.value("Edit1"));
    password_->setMaxLength(kPasswordChars);
    OnClick(made.value("Button1"), this, &BlockPanel::Button1Click);
}

std::span<const Control> BlockPanel::Layout() {
    return kLayout;
}

void BlockPanel::BtnBlockClick() {
    if (!access_.Allows(users::Action::Block)) return;
    access_.Block();
    journal_.Append(" Блокировка системы", plant::JournalColour::Blue);
    panel_.show();
    panel_.raise();
    password_->setFocus();
    confinement_.Confine(&panel_);
    emit Blocked(true);
}

void BlockPanel::Button1Click() {
    if (access_.On()) {
        users::Password password;
        TakePassword(*password_, password);
        if (!access_.Unblock(password)) return;
    }
    journal_.Append(" Разблокирование системы", plant::JournalColour::Blue);
    panel_.hide();
    confinement_.Release();
    emit Blocked(false);
}

}  // namespace console
