// Class bodies nested seventeen deep: below depth 15 the stack keeps no name.
class C1 {
  void In1() {}
  class C2 {
    void In2() {}
    class C3 {
      void In3() {}
      class C4 {
        void In4() {}
        class C5 {
          void In5() {}
          class C6 {
            void In6() {}
            class C7 {
              void In7() {}
              class C8 {
                void In8() {}
                class C9 {
                  void In9() {}
                  class C10 {
                    void In10() {}
                    class C11 {
                      void In11() {}
                      class C12 {
                        void In12() {}
                        class C13 {
                          void In13() {}
                          class C14 {
                            void In14() {}
                            class C15 {
                              void In15() {}
                              class C16 {
                                void In16() {}
                                class C17 {
                                  void In17() {}
                                  void Out17() {}
                                };
                                void Out16() {}
                              };
                              void Out15() {}
                            };
                            void Out14() {}
                          };
                          void Out13() {}
                        };
                        void Out12() {}
                      };
                      void Out11() {}
                    };
                    void Out10() {}
                  };
                  void Out9() {}
                };
                void Out8() {}
              };
              void Out7() {}
            };
            void Out6() {}
          };
          void Out5() {}
        };
        void Out4() {}
      };
      void Out3() {}
    };
    void Out2() {}
  };
  void Out1() {}
};
void Top() {}
