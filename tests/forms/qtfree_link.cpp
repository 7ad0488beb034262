// Linked from the libraries' archives alone, without Qt: what the forms'
// models need must come without the toolkit, so that a native view can use
// them.
#include "addon/trace_addon.h"
#include "addonlib/trees/tree_search_model.h"
#include "forms/color_list_model.h"
#include "forms/float_edit_model.h"
#include "forms/settings_model.h"
#include "forms/style_grid_model.h"
#include "forms/trace_pad_model.h"
#include "forms/tree_chooser_model.h"

int main(int Argc, char**) {
  // Never run; it only makes the linker resolve every model.
  if (Argc > 1000) {
    delete new forms::TTracePadModel(*kx::TraceAddOn, *(forms::TTracePadView*)nullptr);
    forms::TSettingsModel Settings;
    Settings.Save(*(kx::TOrvexApplication*)nullptr);
    forms::TProjectTreeModel Tree;
    Tree.Fill(*(kx::TKxMapProject*)nullptr, *(kx::TKxGISDatabase*)nullptr, 0, false);
    forms::TBrushStyleGridModel Brushes;
    forms::TPenStyleGridModel Pens;
    forms::TColorListModel Colours;
    forms::TFloatEditModel Edit;
    Edit.SetLocaleSeparator(',');
    kx::TTreeSearchModel Search;
    Search.Initialize(*(kx::ITreeItems*)nullptr, "");
  }
  return 0;
}
