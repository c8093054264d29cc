#pragma once
// A framed group of radio items chosen by index, as the dialogs' settings are stored: the first item is 0.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(QWidget* parent, const QString& name, const QString& caption, const QStringList& items);

    // -1 when no item is chosen.
    int ItemIndex() const;
    // An index without an item chooses none.
    void SetItemIndex(int index);
    int Count() const;

signals:
    void ItemChanged(int index);

private:
    QButtonGroup* group_;
};
