// A table whose right-click menu offers export, export as, add row and delete.
#pragma once

#include <QTableWidget>

class TableWidget_Popmenu : public QTableWidget {
    Q_OBJECT
  public:
    // Bits of the menu mask; each set bit adds one action, in this order.
    enum MenuEntry { MenuExport = 1, MenuExportTo = 2, MenuAddRow = 4, MenuDelete = 8 };

    explicit TableWidget_Popmenu(int mask, QWidget* parent = nullptr);

  signals:
    void addRowSignal();
    // Asks the listener to remove; the table itself removes nothing.
    void deleteRowSignal(int RowNum, int ColumnNum);

  public slots:
    void on_action_add();
    void on_action_delete();
    void on_action_export();
    void on_action_export_to();

  private:
    // Exports the table to `file` and says where it went; a failure has shown its box.
    void exportTo(const QString& file);
};
