int Before() { return 0; }
template<class T> class Open<T