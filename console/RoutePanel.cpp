// The route list: a click on a route asks for confirmation and posts the start
// or stop command for the next controller tick.
#include "console/MainFrm.h"
#include "console/Panel.h"
#include "platform/services/MessageBoxes.h"

namespace console {

namespace {

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

void TFrmMain::RouteControlClick() {
    auto* entry = qobject_cast<TPanel*>(sender());
    const int r = entry ? entry->Tag() : 0;
    if (!plant_.Route.Contains(r) || !services_.messages) return;

    const plant::TRoute& route = plant_.Route[r];
    if (!route.Permitted) return;
    const int32_t askedState = route.State;
    if (askedState != plant::kRouteStopped && askedState != plant::kRouteRunning) return;

    const std::string caption = entry->text().trimmed().toStdString();
    const bool start = askedState == plant::kRouteStopped;
    const platform::MsgResult answer = services_.messages->Show(
        kQuestionTitle, start ? StartQuestion(caption) : StopQuestion(caption),
        platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    if (answer != platform::MsgResult::Yes) return;

    // The controller ran on while the question was open: the route may have
    // changed state or been forbidden by another route meanwhile. Posting the
    // command then could run two conflicting routes on shared devices, so the
    // answer counts only for the situation it was asked about.
    plant::TRoute& now = plant_.Route[r];
    if (now.State != askedState || !now.Permitted) return;
    now.Command = start ? plant::kRouteCmdStart : plant::kRouteCmdStop;
}

}  // namespace console
