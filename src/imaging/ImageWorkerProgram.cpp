// kivra-imageworker: the process in which KIVRA reads and processes image files.
#include "imaging/ImageWorkerMain.h"

int main() { return ImageWorkerMain(); }
