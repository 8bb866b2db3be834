// Every export of the fake media libraries is this one function.
extern "C" int FakeEntry() { return 0; }
