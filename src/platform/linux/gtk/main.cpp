#include <gtk/gtk.h>

#include <clocale>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  std::setlocale(LC_NUMERIC, "C");
  return 0;
}
