#include "console/ArchiveLink.h"

#include "archive/Archive.h"
#include "archive/Reader.h"
#include "plant/Plant.h"
#include "state/ArchiveSection.h"

namespace console {

namespace {

// Entries held before start-up decides on the archive; more than start-up
// ever journals.
constexpr std::size_t kHeldLimit = 10000;

archive::Stamp StampOf(const QDateTime& moment) {
    return {moment.toMSecsSinceEpoch(), static_cast<int16_t>(moment.offsetFromUtc() / 60)};
}

// What the operator reads for each kind of failure.
const char* ProblemText(archive::Problem problem) {
    switch (problem) {
        case archive::Problem::DiskFull:
            return "нет места на диске";
        case archive::Problem::NotWritable:
            return "нет права записи в файл или папку";
        case archive::Problem::Locked:
            return "файл заблокирован другой программой";
        case archive::Problem::InUse:
            return "файл открыт другой программой";
        case archive::Problem::NotADatabase:
            return "файл не является архивом событий";
        case archive::Problem::NewerVersion:
            return "файл записан более новой версией программы";
        case archive::Problem::Corrupt:
            return "файл поврежден";
        case archive::Problem::Failed:
            break;
    }
    return "ошибка записи";
}

}  // namespace

ArchiveLink::ArchiveLink(plant::JournalOutlet& journal, std::function<QDateTime()> now,
                         QObject* parent)
    : QObject(parent), journal_(journal), now_(std::move(now)) {
    setObjectName("ArchiveLink");
}

// The writer thread ends (and writes what is left) before this object, which
// its reports are queued to, goes away.
ArchiveLink::~ArchiveLink() {
    archive_.reset();
}

std::string ArchiveLink::FailureText(const archive::Fault& fault) {
    if (fault.problem == archive::Problem::Corrupt && !fault.movedTo.empty()) {
        return " Архив событий: файл поврежден и перенесен в\r\t" + fault.movedTo +
               ",\r\tзапись продолжена в новый файл " + fault.path + "\r\t(" + fault.reason + ")";
    }
    return " Архив событий не записывается: " + std::string(ProblemText(fault.problem)) + "\r\t" +
           fault.path + "\r\t(" + fault.reason + ")";
}

void ArchiveLink::Start(const state::ArchiveSection& section) {
    if (started_) return;
    started_ = true;
    std::vector<Held> held = std::move(held_);
    held_.clear();
    if (!section.wanted) return;
    if (!section.error.empty()) {
        Journal(" Архив событий не открыт: " + section.error, plant::JournalColour::Blue);
        return;
    }
    archive::Options options;
    options.days = section.settings.days;
    options.sampleSeconds = section.settings.sampleSeconds;
    // The reports come on the writer thread; the journal is the window's.
    archive::Events events;
    events.failed = [this](const archive::Fault& fault) {
        QMetaObject::invokeMethod(
            this, [this, fault] { Failed(fault); }, Qt::QueuedConnection);
    };
    events.recovered = [this](const std::string& path) {
        QMetaObject::invokeMethod(
            this, [this, path] { Recovered(path); }, Qt::QueuedConnection);
    };
    auto made = std::make_unique<archive::Archive>(std::move(options), std::move(events));
    for (const Held& entry : held) {
        plant::JournalTag tag = entry.tag;
        tag.source = entry.source;
        made->Append(archive::TaggedEntry(StampOf(entry.moment), entry.body, entry.colour, tag));
    }
    const archive::OpenResult opened = made->Open(section.settings.path);
    if (!opened) {
        made.reset();
        Journal(" Архив событий не открыт: " + opened.error, plant::JournalColour::Blue);
        return;
    }
    archive_ = std::move(made);
    path_ = section.settings.path;
}

void ArchiveLink::Cycle(const plant::Plant& plant) {
    if (archive_) archive_->OfferSample(archive::SampleOf(plant, StampOf(now_())));
}

void ArchiveLink::Record(const QDateTime& moment, const std::string& body,
                         plant::JournalColour colour, const plant::JournalTag& tag) {
    if (archive_) {
        archive_->Append(archive::TaggedEntry(StampOf(moment), body, colour, tag));
    } else if (!started_ && held_.size() < kHeldLimit) {
        held_.push_back({moment, body, colour, tag, std::string(tag.source)});
    }
}

std::unique_ptr<archive::Reader> ArchiveLink::OpenReader(std::string& error) const {
    if (!archive_) {
        error = "архив событий не ведется";
        return nullptr;
    }
    return archive::Reader::Open(path_, error);
}

bool ArchiveLink::Flush() {
    return archive_ && archive_->Flush();
}

void ArchiveLink::Journal(const std::string& body, plant::JournalColour colour) {
    journal_.Append(body, colour, plant::SystemTag());
}

void ArchiveLink::Failed(const archive::Fault& fault) {
    Journal(FailureText(fault), plant::JournalColour::Blue);
    if (fault.problem == archive::Problem::Corrupt && !fault.movedTo.empty()) emit fileReplaced();
}

void ArchiveLink::Recovered(const std::string& path) {
    Journal(" Архив событий снова записывается: " + path, plant::JournalColour::Default);
}

}  // namespace console
