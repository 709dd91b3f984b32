#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/JournalRecorder.h"

namespace archive {
class Archive;
class Reader;
struct Fault;
}  // namespace archive

namespace plant {
class JournalOutlet;
struct Plant;
}  // namespace plant

namespace state {
struct ArchiveSection;
}

namespace console {

// The console's event archive, while the state file's section [Archive] asks
// for it (docs/archive.md): every journal entry, tagged, and a sample of the
// plant every cycle (the archive keeps one per period), handed to the
// archive's writer thread; the window's thread never waits for the disk.
//
// Entries journalled before start-up has read the state file are held and
// handed over when the archive opens, or forgotten when the file has no
// section: then nothing is written and nothing is kept. A file that cannot be
// written is journalled once, in blue, naming the file and the reason, and
// the console runs on; so is its recovery, in the default colour.
//
// Windows that read the archive (the archive window, trends) open readers of
// their own on Path().
class ArchiveLink : public QObject, public JournalRecorder {
    Q_OBJECT

public:
    // `journal` takes the archive's own entries (which come back here through
    // Record); `now` is the console's clock, for the samples.
    ArchiveLink(plant::JournalOutlet& journal, std::function<QDateTime()> now,
                QObject* parent = nullptr);
    ~ArchiveLink() override;

    // Start-up, once the state file is read (once): opens the archive the
    // section asks for, handing over what was journalled before.
    void Start(const state::ArchiveSection& section);
    // Once per controller cycle, after it: offers the plant's sample.
    void Cycle(const plant::Plant& plant);

    void Record(const QDateTime& moment, const std::string& body, plant::JournalColour colour,
                const plant::JournalTag& tag) override;

    // Whether the archive is on: the section asked for it and the file was
    // opened (it may be failing and waiting to be written again).
    bool IsOn() const { return archive_ != nullptr; }
    // The archive's file; empty while it is off.
    const std::string& Path() const { return path_; }
    // A reader of the file for the caller's thread; null, with `error`, while
    // the archive is off or the file cannot be read.
    std::unique_ptr<archive::Reader> OpenReader(std::string& error) const;
    // Waits until what was handed over is in the file (for tests and tools).
    bool Flush();

    // The text of the entry that journals a failure of the file.
    static std::string FailureText(const archive::Fault& fault);

signals:
    // The writer moved a damaged file aside and started a new one: readers
    // of the old one reopen.
    void fileReplaced();

private:
    void Journal(const std::string& body, plant::JournalColour colour);
    void Failed(const archive::Fault& fault);
    void Recovered(const std::string& path);

    // An entry journalled before start-up decided on the archive.
    struct Held {
        QDateTime moment;
        std::string body;
        plant::JournalColour colour;
        plant::JournalTag tag;
        std::string source;  // what tag.source viewed
    };

    plant::JournalOutlet& journal_;
    std::function<QDateTime()> now_;
    bool started_ = false;
    std::vector<Held> held_;
    std::string path_;
    std::unique_ptr<archive::Archive> archive_;
};

}  // namespace console
