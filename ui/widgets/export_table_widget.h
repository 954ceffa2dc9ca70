// The result table of the panels: a table whose menu offers export and export as.
#pragma once

#include "table_widget_popmenu.h"

class ExportTableWidget : public TableWidget_Popmenu {
    Q_OBJECT
  public:
    explicit ExportTableWidget(QWidget* parent = nullptr);
};
