#include "ExportList.h"

#include "ListExport.h"
#include "MessageService.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <functional>

namespace foundation {

namespace {

std::string cellText(const QAbstractItemModel* model, int row, int column, const QModelIndex& root) {
    return model->index(row, column, root).data(Qt::DisplayRole).toString().toStdString();
}

// A list view's columns take their width in characters from the header: the section's width over
// the header font's average character width.
void exportListView(QAbstractItemView* view, QHeaderView* header, const std::function<bool(int)>& rowHidden) {
    const QAbstractItemModel* model = view->model();
    const QModelIndex root = view->rootIndex();
    const int charWidth = std::max(1, QFontMetrics(header->font()).averageCharWidth());
    std::vector<int> shown;
    std::vector<ListColumn> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        shown.push_back(logical);
        columns.push_back({model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
                           std::max(1, header->sectionSize(logical) / charWidth)});
    }
    std::vector<std::vector<std::string>> items;
    for (int row = 0; row < model->rowCount(root); ++row) {
        if (rowHidden(row))
            continue;
        std::vector<std::string> item;
        for (int logical : shown)
            item.push_back(cellText(model, row, logical, root));
        items.push_back(std::move(item));
    }
    WriteListExport(ListViewExportText(ListExportDate(), columns, items));
}

void exportListBox(QListView* box) {
    const QAbstractItemModel* model = box->model();
    const QModelIndex root = box->rootIndex();
    std::vector<std::string> entries;
    for (int row = 0; row < model->rowCount(root); ++row)
        if (!box->isRowHidden(row))
            entries.push_back(cellText(model, row, box->modelColumn(), root));
    WriteListExport(ListBoxExportText(ListExportDate(), entries));
}

} // namespace

void ExportList(QWidget* control) {
    if (!control) {
        QWidget* window = QApplication::activeWindow();
        control = window ? window->focusWidget() : nullptr;
    }
    // A click on a list's rows focuses the list; its viewport stands for it as well.
    QAbstractItemView* view = nullptr;
    for (QWidget* w = control; w && !view; w = w->isWindow() ? nullptr : w->parentWidget())
        view = qobject_cast<QAbstractItemView*>(w);
    if (view && view->model()) {
        if (auto* table = qobject_cast<QTableView*>(view)) {
            exportListView(table, table->horizontalHeader(), [table](int row) { return table->isRowHidden(row); });
            return;
        }
        if (auto* tree = qobject_cast<QTreeView*>(view)) {
            exportListView(tree, tree->header(), [tree](int row) { return tree->isRowHidden(row, tree->rootIndex()); });
            return;
        }
        if (auto* box = qobject_cast<QListView*>(view)) {
            exportListBox(box);
            return;
        }
    }
    platform::MsgBox("A list was not selected.  Please click on the list and reselect this option.",
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
}

} // namespace foundation
