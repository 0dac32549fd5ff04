"""Kasiski, autocorrelation, the solvers and the language statistics through the orvane module."""
import pathlib
import unittest

import orvane

RESERVADO = pathlib.Path(__file__).resolve().parents[2] / "classic" / "tests" / "data" / "es_reservado.txt"


def texto(s):
    t = orvane.CreaObjeto("Kestrin.ORVTexto")
    t.Texto = s
    return t


def pliega(s):
    c = orvane.Tarnel.ORVCar()
    r = []
    for ch in s:
        c.Texto = ch
        if c.Valido:
            r.append(c.Texto)
    return "".join(r)


def reservado():
    return pliega(RESERVADO.read_text(encoding="utf-8"))


class PeriodicoTest(unittest.TestCase):
    def test_kasiski_and_autocorrelation(self):
        v = orvane.CreaObjeto("Tarnel.ORVCriptoVigenere")
        v.TextoCifrado = texto("abcdefghijabcdefgklmnhij")
        v.Kasiski()
        self.assertEqual(v.NumDistanciasKasiski, 2)
        self.assertEqual([(v.PosicionKasiski(i), v.DistanciaKasiski(i), v.SecuenciaKasiski(i)) for i in (1, 2)],
                         [(1, 10, "abcdefg"), (8, 14, "hij")])
        self.assertEqual(v.CuentaFactorKasiski(2), 2)
        self.assertEqual(v.PeriodoKasiski, 0)
        with self.assertRaises(IndexError):
            v.DistanciaKasiski(3)
        with self.assertRaises(AttributeError):
            v.PeriodoKasiski = 3
        v.TextoCifrado = texto("abcabc")
        self.assertEqual([v.Autocorrelacion(d) for d in (1, 2, 3, 4)], [0, 0, 3, 0])

    def test_resuelve_finds_the_key_of_a_held_out_text(self):
        claro = reservado()[:280]
        for clase in ("Tarnel.ORVCriptoVigenere", "Tarnel.ORVCriptoXOR"):
            with self.subTest(clase=clase):
                cs = orvane.CreaObjeto(clase)
                cs.Clave = "clave7x"
                cs.TextoOriginal = texto(claro)
                cs.Cifra()
                with self.assertRaises(IndexError):
                    cs.Resuelve()  # no period yet
                cs.Periodo = 7
                cs.Resuelve()
                self.assertEqual(cs.NumClavesResueltas, cs.kClavesResueltas)
                self.assertEqual(cs.ClaveResuelta(1), "clave7x")
                self.assertGreaterEqual(cs.PuntuacionResuelta(1), cs.PuntuacionResuelta(2))
                self.assertEqual(cs.PeriodoAutocorrelacion, 7)


class SustitucionTest(unittest.TestCase):
    def test_resuelve_breaks_a_substitution_the_same_for_a_seed(self):
        claro = reservado()[:2000]
        clave = orvane.Tarnel.ClaveSustAleatoria(5)
        cs = orvane.CreaObjeto("Tarnel.ORVCriptoSust")
        for v in range(64):
            cs.setClave(v, clave[v])
        cs.TextoOriginal = texto(claro)
        cs.Cifra()
        roto = orvane.CreaObjeto("Tarnel.ORVCriptoSust")
        roto.TextoCifrado = cs.TextoCifrado
        roto.Resuelve(1)
        roto.Descifra()
        descifrado = roto.TextoOriginal.Texto
        bien = sum(a == b for a, b in zip(descifrado, claro))
        self.assertGreaterEqual(bien / len(claro), 0.98)
        self.assertLess(roto.PuntuacionResuelta, 0)
        primera = [roto.Clave(v) for v in range(64)]
        roto.Resuelve(1)
        self.assertEqual([roto.Clave(v) for v in range(64)], primera)


class HillTest(unittest.TestCase):
    def test_known_plain_text_gives_the_key(self):
        h = orvane.CreaObjeto("Tarnel.ORVCriptoHill")
        h.TamClave = 2
        for (f, c), x in zip(((1, 1), (1, 2), (2, 1), (2, 2)), (3, 2, 5, 7)):
            h.Clave.setElemento(f, c, x)
        h.TextoOriginal = texto("los romanos conquistaron hispania")
        h.Cifra()
        h.BuscaClaves(h.TextoOriginal, h.TextoCifrado)
        self.assertEqual(h.NumClavesEncontradas, 1)
        self.assertFalse(h.MasClavesEncontradas)
        k = h.ClaveEncontrada(1)
        self.assertEqual([[k.Elemento(f, c) for c in (1, 2)] for f in (1, 2)], [[3, 2], [5, 7]])
        h.BuscaClaves(texto("ab"), texto("cd"))
        self.assertEqual(h.NumClavesEncontradas, h.kMaxClavesEncontradas)
        self.assertTrue(h.MasClavesEncontradas)
        with self.assertRaises(orvane.ErrorORV) as e:
            h.BuscaClaves(None, texto("cd"))
        self.assertEqual(e.exception.numero, 91)


class EstadisticasTest(unittest.TestCase):
    def test_counted_written_and_read_back(self):
        e = orvane.Tarnel.EstadisticasLengua.Cuenta("Ana nada.\nFin", excluidos=3)
        self.assertEqual(e.Excluidos, 3)
        self.assertEqual(e.CuentaBloque("na"), 2)
        otra = orvane.Tarnel.EstadisticasLengua.Lee(e.Texto())
        self.assertEqual(otra.Texto(), e.Texto())
        with self.assertRaises(orvane.ErrorORV) as error:
            orvane.Tarnel.EstadisticasLengua.Lee("basura")
        self.assertEqual(error.exception.numero, 5)

    def test_the_shipped_ones(self):
        e = orvane.Tarnel.EstadisticasEnUso()
        self.assertGreater(e.Excluidos, 0)
        self.assertGreater(e.Frecuencia(0), e.Frecuencia(5))
        self.assertTrue(orvane.Tarnel.RutaEstadisticas().endswith("es.estadisticas"))
        with self.assertRaises(orvane.ErrorORV) as error:
            orvane.Tarnel.UsaEstadisticas("/no/existe")
        self.assertEqual(error.exception.numero, 326)


if __name__ == "__main__":
    unittest.main()
