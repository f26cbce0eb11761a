#include "Application.h"

int main(int argc, char** argv) { return optimara::RunApplication(argc, argv); }
