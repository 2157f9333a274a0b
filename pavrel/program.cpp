#include "pavrel/program.h"

#include "pavrel/main_form.h"

int RunPavrel(ui::Application& app) {
  app.CreateForm<TfoMain>();
  app.Run();
  return 0;
}
