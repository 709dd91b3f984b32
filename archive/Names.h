#pragma once

#include <string>
#include <string_view>

#include "archive/Entry.h"

namespace archive {

// The words the archive window and the CSV export show for the codes.

// "Команда принята", "Изменение состояния", ...
std::string_view KindName(Kind kind);
// "Задвижка М1", "Маршрут №3", "Силос №2"; empty for none.
std::string SubjectName(Subject subject);
// "обычный", "красный", "синий".
std::string_view ColourName(plant::JournalColour colour);

}  // namespace archive
