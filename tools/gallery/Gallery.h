#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

// A contact sheet of symbols for a person to review at a glance. Each Add()
// takes a snapshot of the widget as it is now, at device pixel ratio 1 and 2
// side by side, under a label; so set the properties (mode, state, alarm phase,
// orientation) first, then Add. Section() starts a new titled block, Row() a
// new row within it.
class Gallery {
public:
    void Section(const QString& title);
    void Row();
    void Add(const QString& label, QWidget& widget);

    // Lays out all snapshots on one white sheet.
    QImage Render() const;

private:
    struct Shot {
        QString label;
        QImage normal;   // device pixel ratio 1
        QImage doubled;  // device pixel ratio 2
    };
    struct Line {
        QString title;  // set on the first row of a section
        std::vector<Shot> shots;
    };

    Line& Current();

    std::vector<Line> lines_;
};

// The sections of the sheet, one function per set of symbols.
void AddFirstSymbolSet(Gallery& gallery);   // pump, gate valve, conveyor, bucket elevator
void AddSecondSymbolSet(Gallery& gallery);  // silo, pipes, LED board, title panel
