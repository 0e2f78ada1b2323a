// kivra-imageworker: the process in which KIVRA reads and processes image files.
#include "imaging/worker/ImageWorkerMain.h"

int main() { return ImageWorkerMain(); }
