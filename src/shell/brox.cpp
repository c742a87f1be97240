#include <allegro.h>

#include "main.h"

int main() { return runGame(); }
END_OF_MAIN()
