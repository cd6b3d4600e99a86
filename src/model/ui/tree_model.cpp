#include "model/ui/tree_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QThread>

#include <utility>

#include "model/data.h"
#include "model/exp_attribute.h"
#include "model/experiment_object.h"
#include "model/ui/bgr_color.h"

namespace {

// An icon that shows one image, and another while its row is selected (in the selected
// look the style gives every image of a selected row).
class TSelectedImageEngine final : public QIconEngine {
public:
  TSelectedImageEngine(QIcon normal, QIcon selected)
      : Normal(std::move(normal)), Selected(std::move(selected)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    ImageFor(mode).paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return ImageFor(mode).pixmap(size, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new TSelectedImageEngine(Normal, Selected); }

private:
  const QIcon& ImageFor(QIcon::Mode mode) const {
    return mode == QIcon::Selected ? Selected : Normal;
  }

  QIcon Normal, Selected;
};

// An icon that draws nothing at whatever size the view gives images.
class TBlankImageEngine final : public QIconEngine {
public:
  void paint(QPainter*, const QRect&, QIcon::Mode, QIcon::State) override {}
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    QPixmap blank(size);
    blank.fill(Qt::transparent);
    return blank;
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new TBlankImageEngine; }
};

QString TextOf(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TTreeModel::TTreeModel(TTree* tree, TStyler styler, QObject* parent)
    : QAbstractItemModel(parent), CoreTree(tree), Styler(std::move(styler)),
      NoImage(new TBlankImageEngine) {
  if (CoreTree) CoreTree->AddObserver(this);
}

TTreeModel::~TTreeModel() {
  if (CoreTree) CoreTree->RemoveObserver(this);
}

void TTreeModel::SetTree(TTree* tree) {
  beginResetModel();
  if (CoreTree) CoreTree->RemoveObserver(this);
  CoreTree = tree;
  if (CoreTree) CoreTree->AddObserver(this);
  Changing = 0;
  Moves.clear();
  SelectionPending = false;
  endResetModel();
}

void TTreeModel::SetStyler(TStyler styler) {
  Styler = std::move(styler);
  AllRowsChanged({}, {});
}

void TTreeModel::SetImages(const QList<QIcon>& images) {
  Images = images;
  CombinedIcons.clear();
  AllRowsChanged({}, {Qt::DecorationRole});
}

TTreeNode* TTreeModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return nullptr;
  return static_cast<TTreeNode*>(index.internalPointer());
}

QModelIndex TTreeModel::IndexOf(const TTreeNode* node) const {
  if (!node || node->GetTree() != CoreTree) return {};
  return createIndex(node->GetIndex(), 0, const_cast<TTreeNode*>(node));
}

QModelIndex TTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (!CoreTree || column != 0 || row < 0 || (parent.isValid() && parent.column() != 0))
    return {};
  TTreeNode* parentNode = NodeOf(parent);
  if (parent.isValid() && !parentNode) return {};  // an index of another model
  TTreeNode* child = parentNode ? parentNode->Item(row) : CoreTree->Item(row);
  return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex TTreeModel::parent(const QModelIndex& child) const {
  const TTreeNode* node = NodeOf(child);
  return node ? IndexOf(node->GetParent()) : QModelIndex();
}

int TTreeModel::rowCount(const QModelIndex& parent) const {
  if (!CoreTree) return 0;
  if (!parent.isValid()) return CoreTree->Count();
  const TTreeNode* node = NodeOf(parent);
  return node && parent.column() == 0 ? node->Count() : 0;
}

int TTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

Qt::ItemFlags TTreeModel::flags(const QModelIndex& index) const {
  return NodeOf(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TTreeModel::StyleOf(TTreeNode& node, TNodeStyle& style) const {
  return Styler && Styler(node, style);
}

QIcon TTreeModel::IconOf(int image, int selectedImage) const {
  if (Images.isEmpty()) return {};
  const auto valid = [this](int i) { return i >= 0 && i < Images.size() && !Images[i].isNull(); };
  const QIcon normal = valid(image) ? Images[image] : NoImage;
  if (selectedImage == image || !valid(selectedImage)) return normal;
  const quint64 key = (static_cast<quint64>(static_cast<quint32>(image)) << 32) |
                      static_cast<quint32>(selectedImage);
  auto found = CombinedIcons.find(key);
  if (found == CombinedIcons.end())
    found =
        CombinedIcons.insert(key, QIcon(new TSelectedImageEngine(normal, Images[selectedImage])));
  return *found;
}

QVariant TTreeModel::data(const QModelIndex& index, int role) const {
  TTreeNode* node = NodeOf(index);
  if (!node) return {};
  if (role == NodeRole) return QVariant::fromValue(reinterpret_cast<quintptr>(node));
  if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::FontRole &&
      role != Qt::DecorationRole && role != Qt::BackgroundRole && role != MarksRole &&
      role != IndentRole)
    return {};

  TNodeStyle style;
  const bool drawn = StyleOf(*node, style);
  switch (role) {
    case Qt::DisplayRole:
      return TextOf(drawn && !style.Text.empty() ? style.Text : node->GetText());
    case Qt::ForegroundRole:
      if (drawn && style.Colour != 0) return QBrush(BgrColor(style.Colour));
      return {};
    case Qt::FontRole:
      if (drawn && (style.Italic || style.Bold)) {
        QFont font;  // only these two are set: the rest comes from the view
        if (style.Italic) font.setItalic(true);
        if (style.Bold) font.setBold(true);
        return font;
      }
      return {};
    case Qt::DecorationRole: {
      const QIcon icon = drawn ? IconOf(style.ImageIndex, style.ImageIndex)
                               : IconOf(node->GetImageIndex(), node->GetSelectedIndex());
      return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::BackgroundRole:
      if (drawn && (style.Marks & nmAborted)) return QBrush(BgrColor(0x0000FF));
      return {};
    case MarksRole: return drawn ? style.Marks : 0u;
    case IndentRole: return drawn ? style.Indent : 0;
  }
  return {};
}

void TTreeModel::AllRowsChanged(const QModelIndex& parent, const QList<int>& roles) {
  const int rows = rowCount(parent);
  if (rows == 0) return;
  emit dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), roles);
  for (int row = 0; row < rows; ++row) {
    const QModelIndex child = index(row, 0, parent);
    if (hasChildren(child)) AllRowsChanged(child, roles);
  }
}

void TTreeModel::CheckThread() const {
  // Views hear of changes synchronously: the tree is edited on the main thread only (a
  // worker hands its edits over through the UI port).
  Q_ASSERT_X(QThread::currentThread() == thread(), "TTreeModel", "tree edited off the main thread");
}

void TTreeModel::EndChange() {
  if (--Changing > 0 || !SelectionPending) return;
  SelectionPending = false;
  emit CoreSelectionChanged(IndexOf(CoreTree->GetSelected()));
}

void TTreeModel::NodeAboutToInsert(TTreeNode* parent, int index) {
  CheckThread();
  ++Changing;
  beginInsertRows(IndexOf(parent), index, index);
}

void TTreeModel::NodeInserted(TTreeNode*) {
  endInsertRows();
  EndChange();
}

void TTreeModel::NodeAboutToRemove(TTreeNode* node) {
  CheckThread();
  ++Changing;
  const int row = node->GetIndex();
  beginRemoveRows(IndexOf(node->GetParent()), row, row);
}

void TTreeModel::NodeRemoved(TTreeNode*, int) {
  endRemoveRows();
  EndChange();
}

void TTreeModel::NodeAboutToMove(TTreeNode* node, TTreeNode* newParent, int newIndex) {
  CheckThread();
  ++Changing;
  TTreeNode* oldParent = node->GetParent();
  const int row = node->GetIndex();
  if (oldParent == newParent && newIndex == row) {
    Moves.push_back(TMoveAnnounced::Nothing);  // back to its own place: nothing moves
    return;
  }
  // Qt counts the destination among the children before the move: within one parent a
  // node going down lands before the row that follows its new place.
  const int destination = oldParent == newParent && newIndex > row ? newIndex + 1 : newIndex;
  if (beginMoveRows(IndexOf(oldParent), row, row, IndexOf(newParent), destination)) {
    Moves.push_back(TMoveAnnounced::Move);
    return;
  }
  // Qt refuses only moves that the tree refuses too; should it refuse one, views start over.
  Moves.push_back(TMoveAnnounced::Reset);
  beginResetModel();
}

void TTreeModel::NodeMoved(TTreeNode*) {
  const TMoveAnnounced announced = Moves.empty() ? TMoveAnnounced::Nothing : Moves.back();
  if (!Moves.empty()) Moves.pop_back();
  if (announced == TMoveAnnounced::Move) endMoveRows();
  if (announced == TMoveAnnounced::Reset) endResetModel();
  EndChange();
}

void TTreeModel::NodeChanged(TTreeNode* node) {
  CheckThread();
  const QModelIndex changed = IndexOf(node);
  emit dataChanged(changed, changed);
  emit CoreNodeChanged(changed, node->GetExpanded());
}

void TTreeModel::SelectionChanged(TTreeNode* selected) {
  CheckThread();
  if (Changing > 0) {
    SelectionPending = true;
    return;
  }
  emit CoreSelectionChanged(IndexOf(selected));
}

void TTreeModel::ChildrenReordered(TTreeNode* parent) {
  CheckThread();
  // The tree tells after the fact; persistent indexes still hold their nodes, so each
  // finds its new row from its node.
  const QModelIndex parentIndex = IndexOf(parent);
  QList<QPersistentModelIndex> parents;
  if (parent) parents << QPersistentModelIndex(parentIndex);
  emit layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
  QModelIndexList from, to;
  for (const QModelIndex& old : persistentIndexList()) {
    TTreeNode* node = NodeOf(old);
    if (!node || node->GetParent() != parent) continue;
    const int row = node->GetIndex();
    if (row == old.row()) continue;
    from << old;
    to << createIndex(row, old.column(), node);
  }
  changePersistentIndexList(from, to);
  emit layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

bool ExperimentNodeStyle(TTreeNode& node, TNodeStyle& style) {
  auto* object = static_cast<TExperimentObject*>(node.GetData());
  return object && object->DrawNode(style);
}

bool AttributeNodeStyle(TTreeNode& node, TNodeStyle& style) {
  auto* variable = dynamic_cast<TData*>(AttViewDataOfNode(&node));
  return variable && variable->DrawNode(style);
}
