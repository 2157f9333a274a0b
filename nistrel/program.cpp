#include "nistrel/program.h"

#include "nistrel/main_form.h"

int RunNistrel(ui::Application& app, const std::string& firstArgument) {
  // No handler of its own for uncaught errors: the standard box shows them
  // and the program goes on.
  app.CreateForm<TfoMain>(firstArgument);
  app.Run();
  return 0;
}
