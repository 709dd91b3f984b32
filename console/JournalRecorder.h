#pragma once

#include <QDateTime>
#include <string>

#include "plant/Outlets.h"

namespace console {

// Where the journal hands each entry besides its view: the event archive.
// Called on the window's thread, with the moment the entry's stamp shows.
class JournalRecorder {
public:
    virtual ~JournalRecorder() = default;
    virtual void Record(const QDateTime& moment, const std::string& body,
                        plant::JournalColour colour, const plant::JournalTag& tag) = 0;
};

}  // namespace console
