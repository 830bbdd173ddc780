#pragma once
// The notice shown instead of a cleaning window on systems the program does not serve.
#include "shell/App.h"
#include "ui/Form.h"

namespace olvex {

class UnsupportedNotice : public ui::Form {
  public:
    explicit UnsupportedNotice(App& app);

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    App& app_;
};

}  // namespace olvex
