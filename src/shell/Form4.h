#pragma once
// The notice shown instead of a cleaning window on systems the program does not serve.
#include "shell/App.h"
#include "ui/Form.h"

namespace olvex {

class Form4 : public ui::Form {
  public:
    explicit Form4(App& app);

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    App& app_;
};

}  // namespace olvex
