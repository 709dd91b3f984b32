#pragma once

#include <QDateTime>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <span>

class QComboBox;
class QDateTimeEdit;
class QPushButton;

namespace console {

// A span of time an archive window shows: a preset that ends now, or a custom
// one. UTC milliseconds, `toMs` not included.
struct TimeRange {
    int64_t fromMs = 0;
    int64_t toMs = 0;
    bool live = false;  // ends now, and moves on with the present
};

// One choice of the list: its caption and how far it reaches back from now;
// kCustomRange for the range typed in.
struct RangePreset {
    const char* caption;
    int64_t spanMs;
};
constexpr int64_t kHourMs = 3'600'000;
constexpr int64_t kDayMs = 24 * kHourMs;
constexpr int64_t kCustomRange = -1;

// The range chooser of an archive window: a list of presets and "Период…",
// which shows two date and time fields and "Показать". Every control is named
// after the window: `Combo<prefix>Range`, `Edit<prefix>From`, `Edit<prefix>To`,
// `Btn<prefix>Show`, in `Panel<prefix>Range`.
class RangeChooser : public QWidget {
    Q_OBJECT

public:
    RangeChooser(const QString& prefix, std::span<const RangePreset> presets,
                 std::function<QDateTime()> now, QWidget* parent = nullptr);

    // The range chosen now; a preset measured back from the present.
    TimeRange Current() const;

signals:
    // A preset was picked, or "Показать" pressed.
    void chosen(const console::TimeRange& range);

private:
    std::span<const RangePreset> presets_;
    std::function<QDateTime()> now_;
    QComboBox* list_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QPushButton* show_;
};

}  // namespace console
