// Process entry of the Virexo executable.
#include "game/virexo_main.h"
#include "toolkit/core/app_entry.h"

int main(int argc, char** argv) { return kestrel::RunApplication(argc, argv, virexo::VirexoMain); }
