// Placeholder until the command groups land.
int main() { return 0; }
