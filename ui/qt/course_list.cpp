#include "ui/qt/course_list.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "ui/qt/gbk.h"

namespace ui {
namespace {

// The column titles and widths of the list; the spaces in the titles are part of them.
struct Column {
  const char* title;
  int width;
};
const Column kColumns[CourseList::kColumnCount] = {
    {"         课程名", 190}, {"  课程属性", 80}, {"学分", 50}, {"成绩", 50}, {"绩点", 50}};

// Each cell keeps the bytes the program put in, so a read gives them back unchanged.
constexpr int kBytesRole = Qt::UserRole;

// Qt toggles a check box on a left click only; a right click on the box toggles it too.
class CheckBoxDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QRect CheckRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem itemOption(option);
    initStyleOption(&itemOption, index);
    if (!itemOption.features.testFlag(QStyleOptionViewItem::HasCheckIndicator)) return {};
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    return style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &itemOption, widget);
  }

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseButtonDblClick) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) {
        QMouseEvent asLeft(type, mouse->position(), mouse->scenePosition(), mouse->globalPosition(),
                           Qt::LeftButton, Qt::LeftButton, mouse->modifiers(),
                           mouse->pointingDevice());
        return QStyledItemDelegate::editorEvent(&asLeft, model, option, index);
      }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
  }
};

}  // namespace

class CourseList::ProgramChange {
 public:
  explicit ProgramChange(CourseList& list) : list_(list) { ++list_.programChanges_; }
  ~ProgramChange() { --list_.programChanges_; }
  ProgramChange(const ProgramChange&) = delete;
  ProgramChange& operator=(const ProgramChange&) = delete;

 private:
  CourseList& list_;
};

CourseList::CourseList(QWidget* parent) : QTreeWidget(parent) {
  setItemDelegate(new CheckBoxDelegate(this));
  setColumnCount(kColumnCount);
  QStringList titles;
  for (const Column& column : kColumns) titles << GbkToQString(column.title);
  setHeaderLabels(titles);
  for (int i = 0; i < kColumnCount; ++i) setColumnWidth(i, kColumns[i].width);

  QHeaderView* head = header();
  head->setStretchLastSection(false);
  head->setSectionsClickable(false);
  head->setSectionsMovable(false);
  head->setSortIndicatorShown(false);
  head->setHighlightSections(false);
  head->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSortingEnabled(false);

  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideRight);

  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);

  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (programChanges_ > 0 || column != 0 || !onToggled) return;
    onToggled(indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked ? 1 : 0);
  });
}

int CourseList::RowCount() const {
  return topLevelItemCount();
}

int CourseList::AppendRow(const text::Text& firstColumn) {
  ProgramChange change(*this);
  auto* item = new QTreeWidgetItem;
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  for (int column = 0; column < kColumnCount; ++column) {
    item->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
  }
  addTopLevelItem(item);
  SetCell(topLevelItemCount() - 1, 0, firstColumn);
  return topLevelItemCount() - 1;
}

void CourseList::SetCell(int row, int column, const text::Text& value) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr || column < 0 || column >= kColumnCount) return;
  ProgramChange change(*this);
  item->setText(column, GbkToQString(value));
  item->setData(column, kBytesRole, QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

text::Text CourseList::Cell(int row, int column) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr || column < 0 || column >= kColumnCount) return {};
  return item->data(column, kBytesRole).toByteArray().toStdString();
}

void CourseList::SetTicked(int row, bool ticked) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr) return;
  ProgramChange change(*this);
  item->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

bool CourseList::Ticked(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item != nullptr && item->checkState(0) == Qt::Checked;
}

QRect CourseList::CheckBoxRect(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr) return {};
  const QModelIndex index = indexFromItem(item, 0);
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  if (!option.rect.intersects(viewport()->rect())) return {};
  return static_cast<const CheckBoxDelegate*>(itemDelegate())->CheckRect(option, index);
}

void CourseList::keyPressEvent(QKeyEvent* event) {
  // Space toggles the current row's box whichever cell of the row is current; holding it down
  // toggles once.
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) &&
      event->modifiers() == Qt::NoModifier) {
    QTreeWidgetItem* item = currentItem();
    if (item != nullptr && !event->isAutoRepeat()) {
      item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace ui
