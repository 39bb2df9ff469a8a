#include "driver.h"

int main() { return auto_select(); }
