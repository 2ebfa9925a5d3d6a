#include <iostream>

int main() {
    std::cout << "fumibako-cli: the filing commands are being built.\n";
    return 0;
}
