#include "main/run.h"

int main(int argc, char** argv) { return qlx::RunMain(argc, argv); }
