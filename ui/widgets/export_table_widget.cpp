#include "export_table_widget.h"

ExportTableWidget::ExportTableWidget(QWidget* parent)
    : TableWidget_Popmenu(MenuExport | MenuExportTo, parent) {}
