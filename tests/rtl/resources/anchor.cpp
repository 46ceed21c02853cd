// A library that holds resources and nothing a program refers to: its resources must still be
// registered in every program that links it.
int quimbelResourceTestAnchor() {
    return 0;
}
