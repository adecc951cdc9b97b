// Linked with one layer's whole library and the layers below it; it is
// never run. It links only while no code of the layer calls into a layer
// above its own.
int main() { return 0; }
