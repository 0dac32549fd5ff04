"""Numbrel.ORVBigNum through the orvane module: names, values, tuples, events and errors."""
import threading
import time
import unittest

import orvane


class BigNumTest(unittest.TestCase):
    def setUp(self):
        self.big = orvane.CreaObjeto("Numbrel.ORVBigNum")
        self.mensajes = []
        self.big.eventos.AritError.conecta(self.mensajes.append)

    def test_created_by_name_and_by_submodule(self):
        self.assertIsInstance(self.big, orvane.Numbrel.ORVBigNum)
        self.assertIsInstance(orvane.Numbrel.ORVBigNum(), orvane.Numbrel.ORVBigNum)

    def test_eval_with_its_optional_arguments(self):
        casos = (
            (("17 mod 5",), {}, "2"),
            (("7/2",), {}, "7/2"),
            (("7/2",), {"Entero": True}, "3"),
            (("N(1/4)",), {}, "0,25"),
            (("N(-1/4)",), {}, "-0,25"),
            (("2^10",), {"MaxValor": "2000"}, "1024"),
            (("2000",), {"MaxValor": 2000}, "2000"),
            (("2^11",), {"MaxValor": 2000, "Entero": False}, "Error"),
            (("1)+(2",), {}, "Error"),
            (("   ",), {}, ""),
        )
        for args, kwargs, esperado in casos:
            with self.subTest(args=args, kwargs=kwargs):
                self.assertEqual(self.big.Eval(*args, **kwargs), esperado)
        self.assertEqual(self.mensajes,
                         ["Ha dado una expresión errónea o el número es demasiado grande"] * 2)

    def test_variables(self):
        self.big.setvar("A1", "5")
        self.assertEqual(self.big.Eval("a1*2"), "10")
        self.big.setvar("", "")
        self.assertEqual(self.big.Eval("A1"), "Error")
        with self.assertRaises(AttributeError):
            self.big.var  # write-only: only setvar exists

    def test_a_value_named_many_times_is_not_copied(self):
        # A million digits named a thousand times: a gigabyte once written out.
        self.big.setvar("a1", "9" * 10**6)
        suma = self.big.Eval("+".join(["a1"] * 1000))
        self.assertEqual(suma, "9" * 10**6 + "000")  # 1000 * (10^(10^6) - 1)
        self.assertEqual(self.big.Eval("*".join(["a1"] * 1000)), "Error")
        self.assertEqual(self.mensajes,
                         ["Ha dado una expresión errónea o el número es demasiado grande"])

    def test_bmod_reads_its_arguments_as_eval(self):
        self.big.setvar("a1", "3")
        casos = (("17 mod 5", "7", "2"), ("a1", "7", "3"), ("A1^100", "a1+4", "4"),
                 ("2^(10^30)", "10^9+7", self.big.ModPower("2", "10^30", "10^9+7")),
                 ("z9", "7", "Error"), ("1", "a1-3", "Error"))
        for expr, modulo, esperado in casos:
            with self.subTest(expr=expr, modulo=modulo):
                self.assertEqual(self.big.BMod(expr, modulo), esperado)
        self.assertEqual(self.mensajes, ["Error al tomar modulo"] * 2)

    def test_members_that_fill_arguments_return_tuples(self):
        self.assertEqual(self.big.Factorize("360"), (True, ["2", "3", "5"], ["3", "2", "1"]))
        ok, a, b, d = self.big.ExMcd("240", "46")
        self.assertTrue(ok)
        self.assertEqual(int(a) * 240 + int(b) * 46, int(d))
        self.assertEqual(d, "2")
        self.assertEqual(self.big.ExMcd("x", "46")[0], False)

    def test_other_members(self):
        big = self.big
        self.assertTrue(big.EsPrimo("2^127-1"))
        self.assertEqual(big.NumBits("255"), 8)
        self.assertEqual(big.Max("1", "2"), 2)
        self.assertEqual(big.CRT(["2", "3"], ["3", "5"]), "8")
        self.assertEqual(big.ModInv("3", "7"), "5")
        self.assertEqual(big.NextPrime("100"), "101")
        self.assertEqual(big.EulerFi("360"), "96")
        self.assertEqual(big.ToBasis(16, "255"), "FF")
        self.assertEqual(big.Mcd("240", "46"), "2")
        self.assertEqual(big.ModPower("4", "13", "497"), "445")
        self.assertEqual(big.BMod("3^(10^100)", "1000000007"), "9102203")
        self.assertEqual(big.ToDecimal("1/8"), "0,125")
        self.assertIn(big.RndRange(1, 6), range(1, 7))
        p = big.RndPrimo(NumBits=64)
        self.assertTrue(big.EsPrimo(p))
        self.assertEqual(big.NumBits(p), 64)
        self.assertEqual(self.mensajes, [])

    def test_error_events_carry_their_texts(self):
        self.assertEqual(self.big.Mcd("x", "2"), "Error")
        self.assertEqual(self.big.CRT(["1"], ["0"]), "Error")
        self.assertEqual(self.mensajes, [
            "Ha dado una expresión errónea o el número es demasiado grande",
            "Error al hallar el mcd",
            "Error en el los datos del Teorema Chino del Resto",
        ])

    def test_handler_exception_reaches_the_caller(self):
        def falla(descripcion):
            raise ValueError(descripcion)
        self.big.eventos.AritError.conecta(falla)
        with self.assertRaises(ValueError):
            self.big.Eval("1/0")

    def test_out_of_range_16_bit_argument_is_overflow(self):
        with self.assertRaises(OverflowError) as error:
            self.big.RndPrimo(70000)
        self.assertEqual(error.exception.numero, 6)


class LargaTest(unittest.TestCase):
    """Long calls: another Python thread runs meanwhile, cancels them, and hears their stages."""

    def setUp(self):
        self.big = orvane.Numbrel.ORVBigNum()
        self.mensajes = []
        self.big.eventos.AritError.conecta(self.mensajes.append)
        # 150 digits: two seconds of curves at most, minutes to split.
        p = int(self.big.NextPrime("3*10^74"))
        q = int(self.big.NextPrime("7*10^74"))
        self.n = 2 ** 3 * p * q
        self.cofactor = p * q

    def test_cancela_from_a_timer_stops_a_factorisation(self):
        avisos = []
        temporizador = threading.Timer(0.3, lambda: (avisos.append(time.monotonic()),
                                                     self.big.Cancela()))
        inicio = time.monotonic()
        temporizador.start()
        ok, factores, exponentes = self.big.Factorize(str(self.n))
        vuelta = time.monotonic()
        temporizador.join()
        # The timer ran while the call worked (the GIL was free), and the call
        # came back soon after it, well before its own two-second bound.
        self.assertEqual(len(avisos), 1)
        self.assertLess(avisos[0], vuelta)
        self.assertLess(vuelta - avisos[0], 1.0)
        self.assertLess(vuelta - inicio, 1.6)
        self.assertFalse(ok)
        self.assertEqual(factores, ["2", str(self.cofactor)])
        self.assertEqual(exponentes, ["3", "1"])
        self.assertEqual(self.mensajes, [])
        # A later call runs normally.
        self.assertEqual(self.big.Factorize("360"), (True, ["2", "3", "5"], ["3", "2", "1"]))

    def test_cancelled_members_that_return_texts_say_so(self):
        self.big.eventos.Etapa.conecta(lambda etapa, hecho, total: self.big.Cancela())
        self.assertEqual(self.big.NextPrime("2^3000"), "Error")
        self.assertEqual(self.mensajes, ["Cálculo cancelado"])

    def test_stages_reach_a_python_handler(self):
        etapas = []
        self.big.eventos.Etapa.conecta(
            lambda etapa, hecho, total: (etapas.append((etapa, hecho, total)),
                                         hecho >= 1 and etapa == "curvas ECM" and
                                         self.big.Cancela()))
        ok, _, _ = self.big.Factorize(str(self.n))
        self.assertFalse(ok)
        self.assertEqual(etapas[0], ("división por tentativa", 0, 6542))
        self.assertIn("curvas ECM", [e for e, _, _ in etapas])
        for etapa, hecho, total in etapas:
            self.assertIsInstance(etapa, str)
            self.assertGreaterEqual(hecho, 0)
            if total:
                self.assertLessEqual(hecho, total)

    def test_handler_exception_stops_the_call_and_reaches_the_caller(self):
        def falla(etapa, hecho, total):
            if etapa == "curvas ECM":
                raise ValueError(etapa)
        self.big.eventos.Etapa.conecta(falla)
        inicio = time.monotonic()
        with self.assertRaises(ValueError):
            self.big.Factorize(str(self.n))
        self.assertLess(time.monotonic() - inicio, 10)


if __name__ == "__main__":
    unittest.main()
