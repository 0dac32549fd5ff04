"""The analyser, the periodic ciphers and Hill through the orvane module."""
import decimal
import pathlib
import unittest

import orvane

EXTRACTO = pathlib.Path(__file__).resolve().parents[2] / "classic" / "tests" / "data" / "es_extracto.txt"


def texto(s):
    t = orvane.CreaObjeto("Kestrin.ORVTexto")
    t.Texto = s
    return t


class CreacionTest(unittest.TestCase):
    def test_every_new_class_by_name_and_by_submodule(self):
        for nombre in ("Tarnel.ORVAnaliza", "Tarnel.ORVCriptoVigenere", "Tarnel.ORVCriptoXOR",
                       "Tarnel.ORVMatriz", "Tarnel.ORVCriptoHill"):
            biblioteca, clase = nombre.split(".")
            with self.subTest(nombre=nombre):
                self.assertIsInstance(orvane.CreaObjeto(nombre),
                                      getattr(getattr(orvane, biblioteca), clase))


class AnalizaTest(unittest.TestCase):
    def test_counts_index_and_entropy(self):
        a = orvane.CreaObjeto("Tarnel.ORVAnaliza")
        a.Texto = "[ORVKey=008]aab"
        self.assertEqual(a.IC, decimal.Decimal("0.3333"))
        self.assertEqual(a.Entropia, decimal.Decimal("0.9183"))
        self.assertEqual([(i.Texto, i.Frecuencia) for i in a.Resultado], [("a", 2), ("b", 1)])
        self.assertIs(a.Resultado, a.Resultado)
        a.Texto1, a.Texto2 = "ab", "ab"
        self.assertEqual(a.Texto, "ab")
        self.assertEqual(a.ICM, decimal.Decimal("0.5"))
        with self.assertRaises(AttributeError):
            a.IC = 1

    def test_events_share_a_value_a_handler_may_replace(self):
        a = orvane.Tarnel.ORVAnaliza()
        vistos = []
        a.eventos.Inicio.conecta(lambda n: vistos.append(("Inicio", n)))
        a.eventos.Progreso.conecta(lambda n: n + 1000)  # the next handler sees the new value
        a.eventos.Progreso.conecta(lambda n: vistos.append(("Progreso", n)))
        a.eventos.Fin.conecta(lambda n: vistos.append(("Fin", n)))
        a.Texto = "x" * 130
        self.assertEqual(a.IC, 1)
        self.assertEqual(vistos, [("Fin", 0), ("Inicio", 130), ("Progreso", 1125),
                                  ("Progreso", 1130), ("Fin", 0)])
        self.assertEqual(a.Resultado.Item(1).Frecuencia, 130)

    def test_handler_exception_reaches_the_reader(self):
        a = orvane.Tarnel.ORVAnaliza()
        a.Texto = "abc"

        def falla(n):
            raise ValueError("desde el manejador")
        a.eventos.Progreso.conecta(falla)
        with self.assertRaises(ValueError):
            a.IC


class PeriodicoTest(unittest.TestCase):
    def test_vigenere_and_xor_round_trip(self):
        for nombre, cifrado, key in (("Tarnel.ORVCriptoVigenere", "c1", orvane.CSKVig),
                                     ("Tarnel.ORVCriptoXOR", "cx", orvane.CSKXOR)):
            with self.subTest(nombre=nombre):
                c = orvane.CreaObjeto(nombre)
                c.Clave = "b#"
                self.assertEqual(c.Clave, "b")
                c.TextoOriginal = texto("AZ")
                avisos = []
                c.eventos.Cifrado.conecta(lambda: avisos.append("Cifrado"))
                c.Cifra()
                self.assertEqual((c.TextoCifrado.Texto, c.TextoCifrado.Key), (cifrado, key))
                c.Descifra()
                self.assertEqual(c.TextoOriginal.Texto, "az")
                self.assertEqual(avisos, ["Cifrado"])

    def test_indexed_tables_and_their_errors(self):
        v = orvane.Tarnel.ORVCriptoVigenere()
        v.Periodo = 3
        v.setDesplazamiento(1, 3, 5)
        self.assertEqual(v.Desplazamiento(3, 1), -5)
        v.setICM(3, 1, 7, "0.0712")
        self.assertEqual(v.ICM(1, 3, 7), decimal.Decimal("0.0712"))
        with self.assertRaises(IndexError) as error:
            v.ICM(1, 4, 0)
        self.assertEqual(error.exception.numero, 9)
        v.setDesplazamiento(1, 2, -2**31)
        with self.assertRaises(OverflowError):
            v.Desplazamiento(2, 1)
        with self.assertRaises(orvane.ErrorORV) as error:
            v.MaxPeriodo = -1
        self.assertEqual(error.exception.numero, 380)

    def test_attack_on_spanish_text(self):
        claro = EXTRACTO.read_text(encoding="utf-8")
        v = orvane.CreaObjeto("Tarnel.ORVCriptoVigenere")
        v.Clave = "Sol y"
        v.TextoOriginal = texto(claro)
        v.Cifra()
        v.ICTipo = 0.08
        v.MaxPeriodo = 10
        eventos = []
        v.eventos.Inicio.conecta(lambda n: eventos.append(("Inicio", n)))
        v.eventos.Fin.conecta(lambda n: eventos.append(("Fin", n)))
        progresos = []
        v.eventos.Progreso.conecta(progresos.append)
        v.BuscaPeriodo()
        self.assertEqual(v.Periodo, 5)
        self.assertEqual(progresos, list(range(1, 11)))
        del progresos[:]
        v.BuscaDesplazamientos()
        self.assertEqual(progresos, list(range(1, 651)))
        v.BuscaClaves()
        self.assertEqual(v.ClaveProbable(1), "sol·y")
        self.assertEqual(eventos, [("Inicio", 10), ("Fin", 10), ("Inicio", 650), ("Fin", 650)])


class HillTest(unittest.TestCase):
    def test_key_size_is_bounded(self):
        hill = orvane.Tarnel.ORVCriptoHill()
        hill.TamClave = 100
        for i in range(1, 101):
            hill.Clave.setElemento(i, i, 1)
        for fuera in (101, 3000):
            with self.subTest(fuera=fuera), self.assertRaises(orvane.ErrorORV) as error:
                hill.TamClave = fuera
            self.assertEqual(error.exception.numero, 380)
            self.assertEqual(hill.TamClave, 100)
        self.assertEqual(hill.ClaveInversa.Elemento(100, 100), 1)

    def test_key_matrix_is_shared_and_inverse_may_be_absent(self):
        hill = orvane.CreaObjeto("Tarnel.ORVCriptoHill")
        tamanos = []
        hill.eventos.CambiaTamaño.conecta(tamanos.append)
        hill.TamClave = 2
        clave = hill.Clave
        for (i, j), x in {(1, 1): 1, (1, 2): 2, (2, 1): 3, (2, 2): 5}.items():
            clave.setElemento(i, j, x)
        self.assertIs(hill.Clave, clave)
        inversa = hill.ClaveInversa
        self.assertEqual([[inversa.Elemento(i, j) for j in (1, 2)] for i in (1, 2)], [[59, 2], [3, 63]])
        producto = clave.Por(inversa)
        self.assertEqual([[producto.Elemento(i, j) for j in (1, 2)] for i in (1, 2)], [[1, 0], [0, 1]])
        self.assertIsNone(clave.Por(None))
        hill.TextoOriginal = texto("abc")
        hill.Cifra()
        self.assertEqual(hill.TextoCifrado.KeyText, "[ORVKey=032]emci")
        hill.Descifra()
        self.assertEqual(hill.TextoOriginal.Texto, "abc·")
        clave.setElemento(1, 1, 2)
        clave.setElemento(2, 1, 0)
        self.assertIsNone(hill.ClaveInversa)
        self.assertEqual(tamanos, [2])
        with self.assertRaises(IndexError):
            clave.Elemento(3, 1)
        with self.assertRaises(OverflowError):
            clave.F2(1, 2**30)


if __name__ == "__main__":
    unittest.main()
