#include "console/RouteList.h"

#include <array>

#include "console/Access.h"
#include "console/OnClick.h"
#include "console/Services.h"
#include "platform/services/MessageBoxes.h"

namespace console {

namespace {

constexpr const char* kEntryNames[] = {"Route1", "Route2",  "Route3",  "Route4",
                                       "Route5", "Route6",  "Route7",  "Route8",
                                       "Route9", "Route10", "Route11", "Route12"};
static_assert(std::size(kEntryNames) == plant::kRouteCount);

// The heading, then the entries one under the other; their captions come from
// the plant's route table.
constexpr std::array<Control, plant::kRouteCount + 1> MakeLayout() {
    std::array<Control, plant::kRouteCount + 1> rows{};
    rows[0] = {"Label45", Kind::Label, {277, 80, 0, 0}, "Маршруты движения зерна", Look().Bold()};
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        rows[static_cast<size_t>(r)] = {.name = kEntryNames[r - 1],
                                        .kind = Kind::RouteEntry,
                                        .box = {229, 96 + 17 * (r - 1), 255, 17},
                                        .tag = r,
                                        .hint = "Маршрут остановлен"};
    }
    return rows;
}

constexpr auto kLayout = MakeLayout();

const std::string kQuestionTitle = "Запуск маршрута";

std::string StartQuestion(const std::string& caption) {
    return "Вы действительно хотите запустить маршрут\r№" + caption + "?" + "\r" + "\r" +
           "ВНИМАНИЕ !" + "\r" + "Убедитесь, что все устройства входящие в маршрут находятся в" +
           "\r" + "дистанционном режиме управления." + "\r" +
           "В демонстрационной версии программы проверка готовности оборудования" + "\r" +
           "перед запуском маршрута не производится.";
}

std::string StopQuestion(const std::string& caption) {
    return "Вы действительно хотите остановить маршрут\r№" + caption + "?";
}

}  // namespace

RouteList::RouteList(QWidget& page, const RegionServices& services)
    : plant_(services.plant), messages_(services.messages), access_(services.access) {
    const Controls made = BuildControls(page, Layout());
    for (const Control& row : Layout()) {
        if (row.kind != Kind::RouteEntry) continue;
        auto* entry = qobject_cast<TPanel*>(made.value(row.name));
        entry->setText(QString::fromStdString(plant::RouteCaption(row.tag)));
        entries_[static_cast<size_t>(row.tag - 1)] = entry;
        OnClick(entry, this, [this, r = row.tag] { RouteControlClick(r); });
    }
}

std::span<const Control> RouteList::Layout() {
    return kLayout;
}

void RouteList::RouteControlClick(int r) {
    if (!plant_.Route.Contains(r)) return;

    const plant::TRoute& route = plant_.Route[r];
    if (!route.Permitted) return;
    const int32_t askedState = route.State;
    if (askedState != plant::kRouteStopped && askedState != plant::kRouteRunning) return;
    const bool start = askedState == plant::kRouteStopped;
    const int32_t command = start ? plant::kRouteCmdStart : plant::kRouteCmdStop;
    if (!access_.Allows(users::Action::RouteCommand, plant::EntrySubject::Route(r), command)) {
        return;
    }

    const std::string caption =
        entries_[static_cast<size_t>(r - 1)]->text().trimmed().toStdString();
    const platform::MsgResult answer =
        messages_.Show(kQuestionTitle, start ? StartQuestion(caption) : StopQuestion(caption),
                       platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    if (answer != platform::MsgResult::Yes) return;
    // The user may have been signed out while the question was open.
    if (!access_.Allows(users::Action::RouteCommand, plant::EntrySubject::Route(r), command)) {
        return;
    }

    // The controller ran on while the question was open: the route may have
    // changed state or been forbidden by another route meanwhile. Posting the
    // command then could run two conflicting routes on shared devices, so the
    // answer counts only if the route still takes it.
    plant::PostRouteCommand(plant_, r, command, plant::kSourceOperator,
                            plant::Origin(access_.UserName()));
}

}  // namespace console
