#include "app/run.h"

int main(int argc, char** argv) {
    return zorvia::runGameBox(argc, argv);
}
