¡
a