#include "ui/ovelse/RadioGroup.h"

#include "ui/WidgetKit.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent, const QString& name, const QString& caption,
                         const QStringList& items)
    : QGroupBox(caption, parent)
    , group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(1);
    for (int i = 0; i < items.size(); ++i) {
        QRadioButton* item = MakeRadio(this, name + QString::number(i), items.at(i));
        group_->addButton(item, i);
        layout->addWidget(item);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit ItemChanged(id);
    });
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* item = group_->button(index)) {
        item->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QAbstractButton* item : group_->buttons())
        item->setChecked(false);
    group_->setExclusive(true);
}

int TRadioGroup::Count() const {
    return static_cast<int>(group_->buttons().size());
}
