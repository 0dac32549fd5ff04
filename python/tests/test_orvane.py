"""The orvane module keeps its contract: names, values, identity, events and errors."""
import decimal
import unittest

import orvane


def texto(s):
    t = orvane.CreaObjeto("Kestrin.ORVTexto")
    t.Texto = s
    return t


class CreacionTest(unittest.TestCase):
    def test_every_class_by_name_and_by_submodule(self):
        for nombre in ("Kestrin.ORVTexto", "Kestrin.ORVW", "Kestrin.ORVmcd", "Tarnel.ORVCar",
                       "Tarnel.ORVResultado", "Tarnel.ORVItemTexto", "Tarnel.ORVCriptoAfin",
                       "Tarnel.ORVCriptoSust"):
            biblioteca, clase = nombre.split(".")
            with self.subTest(nombre=nombre):
                self.assertIsInstance(orvane.CreaObjeto(nombre),
                                      getattr(getattr(orvane, biblioteca), clase))

    def test_unknown_name_is_429(self):
        with self.assertRaises(orvane.ErrorORV) as error:
            orvane.CreaObjeto("Tarnel.NoExiste")
        self.assertEqual(error.exception.numero, 429)

    def test_constants(self):
        self.assertEqual((orvane.CSKNone, orvane.CSKAfin, orvane.CSKVig, orvane.CSKAll),
                         (1, 2, 8, 255))
        self.assertEqual(orvane.ORVNumCar, 64)
        self.assertEqual(len(orvane.Alfabeto), 64)


class AfinTest(unittest.TestCase):
    def test_encipher_gives_the_defined_value_and_shares_the_input(self):
        afin = orvane.CreaObjeto("Tarnel.ORVCriptoAfin")
        afin.Multiplicador = 3
        afin.Desplazamiento = decimal.Decimal("5")
        claro = texto("Ábaco ñ")
        afin.TextoOriginal = claro
        avisos = []
        afin.eventos.Cifrado.conecta(lambda: avisos.append(afin.TextoCifrado.Key))
        afin.Cifra()
        # a=1 -> 8 "h", b=2 -> 11 "k", c=3 -> 14 "n", o=16 -> 53 "ª", space 0 -> 5 "e", ñ=15 -> 50 "%"
        self.assertEqual(afin.TextoCifrado.Texto, "hkhnªe%")
        self.assertEqual(afin.TextoCifrado.KeyText, "[ORVKey=002]hkhnªe%")
        self.assertEqual(avisos, [orvane.CSKAfin])
        self.assertIs(afin.TextoOriginal, claro)
        claro.Texto = "otro"  # the same object on both sides
        self.assertEqual(afin.TextoOriginal.Texto, "otro")
        afin.Descifra()
        self.assertEqual(afin.TextoOriginal.Texto, "abaco·ñ")
        self.assertEqual(afin.TextoOriginal.Key, orvane.CSKNone)

    def test_currency_reads_as_decimal_and_takes_any_number(self):
        afin = orvane.Tarnel.ORVCriptoAfin()
        for escrito, leido in ((7, "7.0000"), (2.5, "2.5000"), (" 1.23456 ", "1.2346"),
                               (decimal.Decimal("-0.00005"), "0.0000"), ("3", "3.0000")):
            with self.subTest(escrito=escrito):
                afin.Multiplicador = escrito
                self.assertEqual(afin.Multiplicador, decimal.Decimal(leido))
                self.assertEqual(str(afin.Multiplicador), leido)
        for fuera in (10**15, 1e16, "1e20"):
            with self.subTest(fuera=fuera), self.assertRaises(OverflowError) as error:
                afin.Multiplicador = fuera
            self.assertEqual(error.exception.numero, 6)

    def test_handler_exception_reaches_the_caller(self):
        afin = orvane.Tarnel.ORVCriptoAfin()
        afin.Multiplicador = 1
        llamadas = []
        afin.eventos.Cifrado.conecta(lambda: llamadas.append(1))
        def falla():
            raise ValueError("desde el manejador")
        id_falla = afin.eventos.Cifrado.conecta(falla)
        with self.assertRaises(ValueError):
            afin.Cifra()
        afin.eventos.Cifrado.desconecta(id_falla)
        afin.Cifra()
        self.assertEqual(llamadas, [1, 1])


class KestrinTest(unittest.TestCase):
    def test_orvw_tag_helpers(self):
        w = orvane.CreaObjeto("Kestrin.ORVW")
        self.assertEqual(w.setCSKey("hola", 8), "[ORVKey=008]hola")
        self.assertEqual(w.setCSKey("[orvkey=002]hola", 1), "hola")
        self.assertEqual(w.CSKey("[orvkey=002]x"), 2)
        self.assertEqual(w.CSText("[ORVKey=016]x"), "x")
        self.assertEqual(w.CSDescription(8), "Cifrado con el criptosistema de Vigenère")
        self.assertEqual(w.ORVNoKey, "_")
        with self.assertRaises(AttributeError):
            w.ORVNoKey = "x"

    def test_mcd(self):
        m = orvane.Kestrin.ORVmcd()
        m.Numero1, m.Numero2 = 240, 46
        self.assertEqual((m.mcd, m.Coeficiente1, m.Coeficiente2, m.NumDivisiones), (2, -9, 47, 5))
        with self.assertRaises(AttributeError):
            m.mcd = 1

    def test_texto_read_only_keytext(self):
        t = texto("[ORVKey=032]abc")
        self.assertEqual((t.Key, t.Texto), (32, "abc"))
        with self.assertRaises(AttributeError):
            t.KeyText = "x"


class TarnelTest(unittest.TestCase):
    def test_car_item_takes_any_value(self):
        car = orvane.Tarnel.ORVCar()
        for escrito, esperado in ((70, "f"), (-3, "!"), (2.5, "b"), ("Ñu", "ñ"),
                                  (decimal.Decimal("65"), "a"), ([1, 2], "a"), (None, "a")):
            with self.subTest(escrito=escrito):
                car.Item = escrito
                self.assertEqual(car.Item, esperado)
        car.Texto = "#"
        self.assertEqual((car.Texto, car.Valor, car.Valido), ("", -1, False))
        with self.assertRaises(OverflowError):
            car.Item = 2**40

    def test_resultado_collection(self):
        r = orvane.Tarnel.ORVResultado()
        r.Add("x")
        r.Add("y", Frecuencia=5)
        r.Add("Y", 2)
        self.assertEqual(len(r), 2)
        self.assertEqual([(i.Texto, i.Frecuencia) for i in r], [("x", 1), ("y", 7)])
        r.Ordena()
        self.assertEqual(r.Item(1).Texto, "y")
        self.assertEqual(r.Item("x").Texto, "y")  # the key stays with the object
        with self.assertRaises(IndexError) as error:
            r.Item(3)
        self.assertEqual(error.exception.numero, 9)
        with self.assertRaises(orvane.ErrorORV) as error:
            r.Item("z")
        self.assertEqual(error.exception.numero, 5)
        r.Remove("z")
        self.assertEqual(r.Total, 8)

    def test_sustitucion_indexed_key(self):
        s = orvane.CreaObjeto("Tarnel.ORVCriptoSust")
        s.setClave("a", "x")
        s.setClave(2, "y")
        self.assertEqual((s.Clave("A"), s.Clave(2), s.ClaveInv("x"), s.ClaveInv(25)),
                         ("x", "y", "a", "a"))
        s.TextoOriginal = texto("Aa#bc")
        s.Cifra()
        self.assertEqual(s.TextoCifrado.Texto, "xxy_")
        with self.assertRaises(orvane.ErrorSubindice):
            s.setClave(64, "z")
        with self.assertRaises(orvane.ErrorORV) as error:
            s.Clave([1])
        self.assertEqual(error.exception.numero, 13)

    def test_affine_keys_from_two_known_pairs(self):
        Tarnel = orvane.Tarnel
        self.assertEqual(Tarnel.ClavesAfines(1, 2, 8, 15), [(7, 1)])
        self.assertEqual(Tarnel.ClavesAfines(x0=0, x1=2, y0=0, y1=6), [(3, 0), (35, 0)])
        self.assertEqual([a for a, _ in Tarnel.ClavesAfines(5, 5, 9, 9)], list(range(1, 64, 2)))
        for sin in ((5, 5, 9, 10), (-1, 2, 8, 15), (1, 2, 8, 64)):
            with self.subTest(pares=sin):
                self.assertEqual(Tarnel.ClavesAfines(*sin), [])

    def test_random_substitution_key(self):
        Tarnel = orvane.Tarnel
        clave = Tarnel.ClaveSustAleatoria()
        self.assertEqual(sorted(clave), sorted(orvane.Alfabeto))
        self.assertNotEqual(Tarnel.ClaveSustAleatoria(), clave)
        self.assertEqual(Tarnel.ClaveSustAleatoria(semilla=5), Tarnel.ClaveSustAleatoria(5))
        self.assertEqual(sorted(Tarnel.ClaveSustAleatoria(5)), sorted(orvane.Alfabeto))


if __name__ == "__main__":
    unittest.main()
