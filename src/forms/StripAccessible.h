#pragma once
// The progress and hint strip as a screen reader knows it: a progress bar whose value is the
// share of the search done (0 to 100, 0 while no bar shows) and whose description is the hint
// printed on it. Changes of the value are told paced, changes of the hint as they happen. It
// draws nothing and decides neither the share nor the hint: the strip's owner does.

#include "AccessibleNotices.h"

#include <QAccessibleWidget>
#include <QObject>

class PictureBox;

// Marks a picture box as the strip and keeps what a screen reader reads of it. It belongs to
// the picture box and lives as long as it.
class ProgressStrip : public QObject {
    Q_OBJECT
  public:
    explicit ProgressStrip(PictureBox* strip);
    // The strip that `object` is, if it is one.
    static ProgressStrip* of(const QObject* object);

    // The share of the search done, `part` of `whole`, in whole hundredths rounded down; a share
    // beyond either end is taken as that end, and one that is not a number as 0 (so is any
    // share of a whole not above 0). Clearing the strip brings it back to 0.
    void setShare(double part, double whole);
    int value() const { return m_value; }
    QString hint() const;

  private:
    void setValue(int value);
    void hintMayHaveChanged();

    PictureBox* m_strip;
    int m_value = 0;
    QString m_told; // the hint the last notice told of
    bool m_hintCheckPending = false;
    NoticePacer m_valueNotices;
};

// The interface itself: reads what ProgressStrip keeps; the value can't be set through it.
class StripAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit StripAccessible(PictureBox* strip);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {} // the search sets it, nobody else
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};
