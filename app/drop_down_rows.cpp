#include "app/drop_down_rows.h"

#include <QAbstractItemDelegate>
#include <QComboBox>

namespace {

// Wraps the style's delegate so that rows look the same, one pixel taller.
class TallerRowDelegate : public QAbstractItemDelegate {
public:
    TallerRowDelegate(QAbstractItemDelegate* styleDelegate, QObject* parent)
        : QAbstractItemDelegate(parent), styleDelegate_(styleDelegate)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        styleDelegate_->paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return styleDelegate_->sizeHint(option, index) + QSize(0, 1);
    }

private:
    QAbstractItemDelegate* styleDelegate_;
};

}  // namespace

void MakeRowsOnePixelTaller(QComboBox* list)
{
    QAbstractItemDelegate* styleDelegate = list->itemDelegate();
    styleDelegate->setParent(list);  // the list keeps it alive; setItemDelegate only detaches it
    list->setItemDelegate(new TallerRowDelegate(styleDelegate, list));
}
