// The STL save of the main window: the model of ModelView, scaled per axis in the
// scale dialog, as binary or text STL by the filter entry chosen.
#include "app/main_window.h"
#include "mesh/scale_dialog.h"
#include "core/stl/stl_writer.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

// SaveDxfDialog's filter entries.
constexpr int kTextEntry = 2;

}  // namespace

void TForm1::SaveDfButtomClick() {
  const auto choice = host_.ChooseSaveFile(SaveDxfDialog.Filter, SaveDxfDialog.DefaultExt,
                                           SaveDxfDialog.FilterIndex);
  if (!choice) return;
  SaveDxfDialog.FilterIndex = choice->filterIndex;
  {
    // The file is written however the dialog closes, with the rates it leaves.
    TForm2 scale(host_, *DataModule1, session_, this);
    scale.exec();
  }
  const StlForm form = choice->filterIndex == kTextEntry ? StlForm::Text : StlForm::Binary;
  const StlScaling scaling{DataModule1->OutputScale, session_.XRate, session_.YRate,
                           session_.ZRate};
  WaitCursor wait(host_);
  if (Status s = SaveStl(choice->path, form, ModelView->Table, scaling, host_); !s) {
    host_.ShowMessage(s.message());
  }
}

}  // namespace vantora
