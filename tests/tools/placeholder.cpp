// Stands in for a sibling program of the application folder: only its presence counts.
int main() { return 0; }
