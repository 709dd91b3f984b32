#include "console/RangeChooser.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace console {

RangeChooser::RangeChooser(const QString& prefix, std::span<const RangePreset> presets,
                           std::function<QDateTime()> now, QWidget* parent)
    : QWidget(parent),
      presets_(presets),
      now_(std::move(now)),
      list_(new QComboBox(this)),
      from_(new QDateTimeEdit(this)),
      to_(new QDateTimeEdit(this)),
      show_(new QPushButton("Показать", this)) {
    setObjectName("Panel" + prefix + "Range");
    list_->setObjectName("Combo" + prefix + "Range");
    from_->setObjectName("Edit" + prefix + "From");
    to_->setObjectName("Edit" + prefix + "To");
    show_->setObjectName("Btn" + prefix + "Show");
    for (const RangePreset& preset : presets_) list_->addItem(QString::fromUtf8(preset.caption));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel("Период:", this));
    row->addWidget(list_);
    for (QDateTimeEdit* edit : {from_, to_}) {
        edit->setDisplayFormat("dd.MM.yyyy HH:mm");
        edit->setCalendarPopup(true);
    }
    auto* dash = new QLabel("—", this);
    row->addWidget(from_);
    row->addWidget(dash);
    row->addWidget(to_);
    row->addWidget(show_);
    row->addStretch(1);

    const QDateTime present = now_();
    to_->setDateTime(present);
    from_->setDateTime(present.addDays(-1));
    auto showCustom = [this, dash](bool on) {
        for (QWidget* w : std::initializer_list<QWidget*>{from_, dash, to_, show_})
            w->setVisible(on);
    };
    showCustom(false);
    connect(list_, &QComboBox::currentIndexChanged, this, [this, showCustom](int index) {
        const bool custom = index >= 0 && presets_[static_cast<std::size_t>(index)].spanMs < 0;
        showCustom(custom);
        if (!custom) emit chosen(Current());
    });
    connect(show_, &QPushButton::clicked, this, [this] { emit chosen(Current()); });
}

TimeRange RangeChooser::Current() const {
    const int index = std::max(0, list_->currentIndex());
    const RangePreset& preset = presets_[static_cast<std::size_t>(index)];
    if (preset.spanMs < 0) {
        TimeRange range{from_->dateTime().toMSecsSinceEpoch(), to_->dateTime().toMSecsSinceEpoch(),
                        false};
        if (range.toMs < range.fromMs) std::swap(range.fromMs, range.toMs);
        return range;
    }
    const int64_t now = now_().toMSecsSinceEpoch();
    return {now - preset.spanMs, now, true};
}

}  // namespace console
