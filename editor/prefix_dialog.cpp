// The conflict-marker dialogue: the header, separator and trailer lines,
// the prefixes of the new and the old lines, and which source comes first.
#include <cstdio>
#include <string>

#include "base/gen.h"
#include "diff/merge.h"
#include "editor/merge_windows.h"
#include "gui/core/fonts.h"
#include "gui/widgets/button.h"
#include "gui/widgets/dialog.h"
#include "gui/widgets/static_text.h"
#include "gui/widgets/text_field.h"

namespace {

constexpr int kLabelWidth = 130;
constexpr int kFieldWidth = 420;
constexpr int kRow = 32;

class PrefixDialog : public WDialog {
 public:
  explicit PrefixDialog(mcargs* mc)
      : WDialog(nullptr, "PrefixInfo", "Conflict markers", kLabelWidth + kFieldWidth + 3 * kMargin,
                6 * kRow + 2 * kMargin + 36),
        newFirst_(mc->newFirst) {
    char** strings[] = {&mc->header, &mc->separator, &mc->trailer, &mc->newPrefix,
                        &mc->oldPrefix};
    const char* labels[] = {"Header", "Separator", "Trailer", "New prefix", "Old prefix"};
    for (int k = 0; k < 5; k++) {
      int y = kMargin + k * kRow;
      new WStaticText(window(), DrawRect{kMargin, y + 4, kLabelWidth, font_h + 4}, labels[k]);
      fields_[k] = new TextField(window(), DrawRect{kMargin + kLabelWidth, y, kFieldWidth,
                                                    TextField::preferredHeight()});
      fields_[k]->setText(*strings[k] ? *strings[k] : "");
    }
    order_ = new WButtonSet(window(), DrawRect{kMargin, kMargin + 5 * kRow, 10, 10},
                            WButtonSet::kHorizontal);
    order_->addButton("New code first", nullptr, "pF1");
    order_->addButton("Old code first", nullptr, "pF2");
    order_->setCommandHandler(onOrder);
    order_->setGeometry(DrawRect{kMargin, kMargin + 5 * kRow, order_->preferredWidth(),
                                 order_->preferredHeight()});
    order_->layout();
    showOrder();
    WButtonSet* row = addButtonRow({"OK", "Cancel"});
    row->buttonAt(0)->setCommand("ok");
    row->buttonAt(1)->setCommand("cancel");
    setResults(0, 1);
    fields_[0]->activateMe();
  }

  // Copies the fields into the record.
  void store(mcargs* mc) {
    char** strings[] = {&mc->header, &mc->separator, &mc->trailer, &mc->newPrefix,
                        &mc->oldPrefix};
    for (int k = 0; k < 5; k++) gen_strchange(strings[k], fields_[k]->rawText().c_str());
    mc->newFirst = newFirst_;
  }

 protected:
  void buttonChosen(int index) override {
    const std::string& command = button(index)->getCommand();
    if (command == "ok") return finish(0);
    if (command == "cancel") return finish(1);
    std::fprintf(stderr, "[EditPrefixInfoBtnClick] Unknown button command\n");
  }

 private:
  static void onOrder(WButton* b, const char* command) {
    auto* d = static_cast<PrefixDialog*>(current());
    if (!d) return;
    d->newFirst_ = std::string(command) == "pF1";
    d->showOrder();
    (void)b;
  }
  // The chosen order's button is dimmed: pressing it again does nothing.
  void showOrder() {
    order_->setDimmed("pF1", newFirst_);
    order_->setDimmed("pF2", !newFirst_);
  }

  TextField* fields_[5] = {};
  WButtonSet* order_ = nullptr;
  bool newFirst_;
};

}  // namespace

bool mergewin_EditPrefix(mcargs* mc) {
  PrefixDialog dialog(mc);
  if (dialog.run() != 0) return false;
  dialog.store(mc);
  return true;
}
